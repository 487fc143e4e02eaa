#!/usr/bin/env python3
"""Compares two runs of the intro taken with the show tap.

  compare_runs.py frames LINUX_DIR WINDOWS_DIR NUMBER...
      the kept frames of those swap numbers must be byte for byte the same
  compare_runs.py music LINUX_RAW WINDOWS_RAW MIN_SECONDS
      both outputs (44100 Hz, stereo, 16-bit) from their first sound on
      must hold the same music, frame for frame, for as long as both last,
      and that must be at least MIN_SECONDS; silence before the first sound
      and gaps of silence after which the music goes on where it stopped
      are the device's own, and are only reported
  compare_runs.py report NAME REPORT START_MS
      prints one line of figures from a tap report, START_MS being when
      the program was started (milliseconds since 1970)

Prints what it found; exits with 1 when the runs differ.
"""
import sys

FRAME_BYTES = 4  # one stereo frame of 16-bit samples
RATE = 44100


def compare_frames(linux_dir, windows_dir, numbers):
    failed = False
    for number in numbers:
        name = f"frame-{number}.ppm"
        try:
            with open(f"{linux_dir}/{name}", "rb") as a, open(f"{windows_dir}/{name}", "rb") as b:
                linux, windows = a.read(), b.read()
        except OSError as error:
            print(f"{name}: missing ({error.strerror}: {error.filename})")
            failed = True
            continue
        if linux == windows:
            print(f"{name}: identical")
            continue
        failed = True
        if len(linux) != len(windows):
            print(f"{name}: differs in size ({len(linux)} and {len(windows)} bytes)")
            continue
        header = linux.index(b"\n255\n") + 5
        pixels = sum(1 for i in range(header, len(linux), 3) if linux[i:i + 3] != windows[i:i + 3])
        print(f"{name}: {pixels} pixels differ")
    return not failed


SILENCE = b"\0" * FRAME_BYTES


def next_sound(samples, offset):
    """The offset of the first frame with sound at or after offset, or the end."""
    rest = len(samples) - offset - len(samples[offset:].lstrip(b"\0"))
    return min(len(samples), offset + rest // FRAME_BYTES * FRAME_BYTES)


def first_difference(a, i, b, j, frames):
    """The first of the next frames that differs between a at i and b at j, or None."""
    step = 1 << 16
    for start in range(0, frames * FRAME_BYTES, step):
        end = min(start + step, frames * FRAME_BYTES)
        if a[i + start:i + end] != b[j + start:j + end]:
            return next(k for k in range(start, end) if a[i + k] != b[j + k]) // FRAME_BYTES
    return None


def compare_music(linux_raw, windows_raw, min_seconds):
    with open(linux_raw, "rb") as a, open(windows_raw, "rb") as b:
        outputs = a.read(), b.read()
    names = "Linux", "Windows"
    offsets = [next_sound(output, 0) for output in outputs]
    for name, output, offset in zip(names, outputs, offsets):
        if offset == len(output):
            print(f"music: no sound in the {name} output")
            return False
    # Every frame of music must come out the same and in the same order. A
    # device that is not fed in time, or that is closed as the program
    # ends, plays silence of its own: such a gap in one output, with the
    # music going on after it exactly where it stopped, is the machine's
    # timing, not the mixing, and is reported but passes.
    matched, gaps = 0, {name: [] for name in names}
    while True:
        frames = min(len(output) - offset for output, offset in zip(outputs, offsets)) // FRAME_BYTES
        differs = first_difference(outputs[0], offsets[0], outputs[1], offsets[1], frames)
        same = frames if differs is None else differs
        matched += same
        offsets = [offset + same * FRAME_BYTES for offset in offsets]
        if differs is None:
            break
        silent = [output[offset:offset + FRAME_BYTES] == SILENCE for output, offset in zip(outputs, offsets)]
        if not any(silent):
            print(f"music: differs {matched / RATE:.3f} s into the music (frame {matched})")
            return False
        side = silent.index(True)
        after = next_sound(outputs[side], offsets[side])
        if after < len(outputs[side]):  # not merely the output's end
            gaps[names[side]].append((matched, (after - offsets[side]) // FRAME_BYTES))
        offsets[side] = after
    seconds = matched / RATE
    for name, found in gaps.items():
        for at, length in found:
            print(f"music: the {name} output fell silent for {length / RATE * 1000:.0f} ms "
                  f"{at / RATE:.3f} s into the music")
    if seconds < min_seconds:
        print(f"music: the same, but only {seconds:.1f} s of it were heard on both (at least {min_seconds} wanted)")
        return False
    print(f"music: bit-exact for {seconds:.1f} s from the first sound")
    return True


def print_report(name, report, start_ms):
    figures = {}
    with open(report) as lines:
        for line in lines:
            key, value = line.split()
            figures[key] = float(value)
    seconds = figures["show_seconds"]
    print(f"{name}: first frame {(figures['first_frame_wall_ms'] - start_ms) / 1000:.2f} s after the start, "
          f"{figures['frames_after_first'] / seconds:.1f} frames/s, "
          f"processor {100 * figures['processor_seconds'] / seconds:.1f} % of one core over {seconds:.0f} s")
    return True


def main(arguments):
    if len(arguments) >= 3 and arguments[0] == "frames":
        return compare_frames(arguments[1], arguments[2], arguments[3:])
    if len(arguments) == 4 and arguments[0] == "music":
        return compare_music(arguments[1], arguments[2], float(arguments[3]))
    if len(arguments) == 4 and arguments[0] == "report":
        return print_report(arguments[1], arguments[2], float(arguments[3]))
    sys.stderr.write(__doc__)
    sys.exit(2)


if __name__ == "__main__":
    sys.exit(0 if main(sys.argv[1:]) else 1)
