#!/usr/bin/env python3
"""Compares two runs of the intro taken with the show tap.

  compare_runs.py frames LINUX_DIR WINDOWS_DIR NUMBER...
      the kept frames of those swap numbers must be byte for byte the same
  compare_runs.py music LINUX_RAW WINDOWS_RAW MIN_SECONDS
      both outputs (44100 Hz, stereo, 16-bit) from their first sound on
      must be the same for as long as both last, and that must be at least
      MIN_SECONDS; the silence before the first sound is the device's own
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


def first_sound(samples):
    for offset in range(0, len(samples) - FRAME_BYTES + 1, FRAME_BYTES):
        if samples[offset:offset + FRAME_BYTES] != b"\0" * FRAME_BYTES:
            return offset
    return None


def compare_music(linux_raw, windows_raw, min_seconds):
    with open(linux_raw, "rb") as a, open(windows_raw, "rb") as b:
        linux, windows = a.read(), b.read()
    starts = first_sound(linux), first_sound(windows)
    if None in starts:
        print(f"music: no sound in {'the Linux' if starts[0] is None else 'the Windows'} output")
        return False
    linux, windows = linux[starts[0]:], windows[starts[1]:]
    common = min(len(linux), len(windows)) // FRAME_BYTES * FRAME_BYTES
    seconds = common / FRAME_BYTES / RATE
    if linux[:common] != windows[:common]:
        at = next(i for i in range(common) if linux[i] != windows[i]) // FRAME_BYTES
        print(f"music: differs {at / RATE:.3f} s after the first sound (frame {at})")
        return False
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
