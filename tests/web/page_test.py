#!/usr/bin/env python3
"""The intro's web page in headless Chromium, in real time.

    page_test.py WEB_DIR [--screenshot FILE] [--seconds N]

Serves WEB_DIR (index.html, intro.js, intro.wasm) on 127.0.0.1, opens it in
headless Chromium with sound allowed without a gesture, and checks through
the DevTools protocol that:
  - the show starts by itself and draws frames, with the page's console and
    scripts free of errors;
  - a screenshot after a few seconds shows the logo and the countdown;
  - the audio output is open and takes sound at about the output rate;
  - Escape ends the show and the page says so;
  - the page, all its files, is at most 2 MB as transferred with gzip;
  - after a click the show starts within 1.5 s, and the music, made from its
    score as the show plays, misses no frame over the show's first minute.
It prints the figures it measured (load time, frame rate, size, start time,
the music's underruns and the share of time spent making it) and exits 0
when every check passed. Only the standard library is used.
"""

import argparse
import base64
import functools
import gzip
import http.server
import json
import os
import shutil
import socket
import struct
import subprocess
import sys
import tempfile
import threading
import time
import urllib.request
import zlib

FAILURES = []


def check(condition, what):
    print(("ok    " if condition else "FAIL  ") + what, flush=True)
    if not condition:
        FAILURES.append(what)
    return condition


# --- the DevTools protocol over a WebSocket (client side of RFC 6455) -------

class DevTools:
    def __init__(self, url):
        rest = url[len("ws://"):]
        hostport, path = rest.split("/", 1)
        host, port = hostport.split(":")
        self.sock = socket.create_connection((host, int(port)), timeout=30)
        key = base64.b64encode(os.urandom(16)).decode()
        self.sock.sendall((f"GET /{path} HTTP/1.1\r\nHost: {hostport}\r\nUpgrade: websocket\r\n"
                           f"Connection: Upgrade\r\nSec-WebSocket-Key: {key}\r\n"
                           "Sec-WebSocket-Version: 13\r\n\r\n").encode())
        reply = b""
        while b"\r\n\r\n" not in reply:
            chunk = self.sock.recv(4096)
            if not chunk:
                raise RuntimeError("DevTools closed the connection during the handshake")
            reply += chunk
        if b" 101 " not in reply.split(b"\r\n", 1)[0]:
            raise RuntimeError("DevTools refused the WebSocket: " + reply.split(b"\r\n", 1)[0].decode())
        self.pending = reply.split(b"\r\n\r\n", 1)[1]
        self.next_id = 0
        self.events = []

    def _read(self, count):
        while len(self.pending) < count:
            chunk = self.sock.recv(1 << 20)
            if not chunk:
                raise RuntimeError("DevTools closed the connection")
            self.pending += chunk
        data, self.pending = self.pending[:count], self.pending[count:]
        return data

    def _receive(self):
        message = b""
        while True:
            first, second = self._read(2)
            length = second & 0x7F
            if length == 126:
                length = struct.unpack(">H", self._read(2))[0]
            elif length == 127:
                length = struct.unpack(">Q", self._read(8))[0]
            mask = self._read(4) if second & 0x80 else None
            payload = self._read(length)
            if mask:
                payload = bytes(b ^ mask[i % 4] for i, b in enumerate(payload))
            opcode = first & 0x0F
            if opcode == 0x9:  # ping
                self._send_frame(0xA, payload)
                continue
            if opcode in (0x1, 0x2, 0x0):
                message += payload
                if first & 0x80:
                    return json.loads(message)
            elif opcode == 0x8:
                raise RuntimeError("DevTools closed the connection")

    def _send_frame(self, opcode, payload):
        mask = os.urandom(4)
        header = bytes([0x80 | opcode])
        if len(payload) < 126:
            header += bytes([0x80 | len(payload)])
        elif len(payload) < 1 << 16:
            header += bytes([0x80 | 126]) + struct.pack(">H", len(payload))
        else:
            header += bytes([0x80 | 127]) + struct.pack(">Q", len(payload))
        masked = bytes(b ^ mask[i % 4] for i, b in enumerate(payload))
        self.sock.sendall(header + mask + masked)

    def call(self, method, **params):
        self.next_id += 1
        ident = self.next_id
        self._send_frame(0x1, json.dumps({"id": ident, "method": method, "params": params}).encode())
        while True:
            message = self._receive()
            if message.get("id") == ident:
                if "error" in message:
                    raise RuntimeError(f"{method}: {message['error']}")
                return message.get("result", {})
            self.events.append(message)

    def evaluate(self, expression):
        result = self.call("Runtime.evaluate", expression=expression, returnByValue=True)
        if "exceptionDetails" in result:
            raise RuntimeError(f"{expression}: {result['exceptionDetails'].get('text')}")
        return result["result"].get("value")


# --- reading the screenshot (8-bit RGB or RGBA PNG, as Chromium writes it) --

def decode_png(data):
    assert data[:8] == b"\x89PNG\r\n\x1a\n", "not a PNG"
    offset, idat = 8, b""
    while offset < len(data):
        length, kind = struct.unpack(">I4s", data[offset:offset + 8])
        body = data[offset + 8:offset + 8 + length]
        if kind == b"IHDR":
            width, height, depth, colour = struct.unpack(">IIBB", body[:10])
            assert depth == 8 and colour in (2, 6), "unexpected PNG layout"
            channels = 3 if colour == 2 else 4
        elif kind == b"IDAT":
            idat += body
        offset += 12 + length
    raw = zlib.decompress(idat)
    stride = width * channels
    rows, previous = [], bytearray(stride)
    for y in range(height):
        kind = raw[y * (stride + 1)]
        line = bytearray(raw[y * (stride + 1) + 1:(y + 1) * (stride + 1)])
        for x in range(stride):
            left = line[x - channels] if x >= channels else 0
            up = previous[x]
            corner = previous[x - channels] if x >= channels else 0
            if kind == 1:
                line[x] = (line[x] + left) & 0xFF
            elif kind == 2:
                line[x] = (line[x] + up) & 0xFF
            elif kind == 3:
                line[x] = (line[x] + (left + up) // 2) & 0xFF
            elif kind == 4:
                p = left + up - corner
                pa, pb, pc = abs(p - left), abs(p - up), abs(p - corner)
                line[x] = (line[x] + (left if pa <= pb and pa <= pc else up if pb <= pc else corner)) & 0xFF
        rows.append(bytes(line))
        previous = line
    return width, height, channels, rows


def lit_share(image, left, top, right, bottom):
    """The share of pixels in the box that are not near black."""
    width, height, channels, rows = image
    lit = total = 0
    for y in range(max(top, 0), min(bottom, height)):
        row = rows[y]
        for x in range(max(left, 0), min(right, width)):
            r, g, b = row[x * channels:x * channels + 3]
            lit += (r + g + b) > 60
            total += 1
    return lit / max(total, 1)


# --- the run ---------------------------------------------------------------

class QuietHandler(http.server.SimpleHTTPRequestHandler):
    def log_message(self, *args):
        pass


def serve(folder):
    handler = functools.partial(QuietHandler, directory=folder)
    server = http.server.ThreadingHTTPServer(("127.0.0.1", 0), handler)
    threading.Thread(target=server.serve_forever, daemon=True).start()
    return server


def start_browser(profile, sound_allowed):
    browser = shutil.which("chromium") or shutil.which("chromium-browser")
    if not browser:
        sys.exit("page_test: chromium is not installed (scripts/web installs it)")
    process = subprocess.Popen(
        [browser, "--headless=new", "--no-sandbox", "--use-angle=swiftshader", "--enable-unsafe-swiftshader",
         *(["--autoplay-policy=no-user-gesture-required"] if sound_allowed else []), "--no-first-run", "--disable-background-networking",
         "--disable-component-update", "--disable-sync", "--disable-quic", "--mute-audio",
         "--window-size=1024,768", f"--user-data-dir={profile}", "--remote-debugging-port=0", "about:blank"],
        stdout=subprocess.DEVNULL, stderr=subprocess.PIPE, text=True)
    deadline = time.monotonic() + 60
    while time.monotonic() < deadline:
        line = process.stderr.readline()
        if not line and process.poll() is not None:
            break
        if "DevTools listening on " in line:
            threading.Thread(target=lambda: process.stderr.read(), daemon=True).start()
            return process, line.split("DevTools listening on ", 1)[1].strip()
    process.kill()
    sys.exit("page_test: chromium did not start its DevTools endpoint")


def page_socket(browser_url):
    port = browser_url.split("://", 1)[1].split("/", 1)[0]
    with urllib.request.urlopen(f"http://{port}/json/list", timeout=10) as reply:
        targets = json.load(reply)
    return next(t["webSocketDebuggerUrl"] for t in targets if t.get("type") == "page")


def console_errors(events):
    errors = []
    for event in events:
        method, params = event.get("method"), event.get("params", {})
        if method == "Runtime.exceptionThrown":
            details = params.get("exceptionDetails", {})
            errors.append(details.get("exception", {}).get("description") or details.get("text"))
        elif method == "Runtime.consoleAPICalled" and params.get("type") in ("error", "assert"):
            errors.append(" ".join(str(a.get("value", a.get("description"))) for a in params.get("args", [])))
        elif method == "Log.entryAdded" and params.get("entry", {}).get("level") == "error":
            errors.append(params["entry"].get("text"))
    return errors


def wait_for(tools, condition, seconds):
    deadline = time.monotonic() + seconds
    while time.monotonic() < deadline:
        status = tools.evaluate("window.veskStatus ? veskStatus() : null")
        if status and condition(status):
            return status
        time.sleep(0.25)
    return tools.evaluate("window.veskStatus ? veskStatus() : null")


def open_page(url, profile, sound_allowed):
    browser, browser_url = start_browser(profile, sound_allowed)
    tools = DevTools(page_socket(browser_url))
    for domain in ("Runtime.enable", "Log.enable", "Page.enable"):
        tools.call(domain)
    tools.call("Page.navigate", url=url)
    return browser, tools


def click_to_start(url, profile):
    """Without leave to play sound, the page waits for a click."""
    browser, tools = open_page(url, profile, sound_allowed=False)
    try:
        status = wait_for(tools, lambda s: s["phase"] in ("ready", "failed"), 180)
        prompt = tools.evaluate("!document.getElementById('prompt').classList.contains('hidden')")
        check(status["phase"] == "ready" and prompt and status["framesDrawn"] == 0,
              "without leave to play sound the page waits with its click prompt")
        for kind in ("mousePressed", "mouseReleased"):
            tools.call("Input.dispatchMouseEvent", type=kind, x=512, y=300, button="left", clickCount=1)
        status = wait_for(tools, lambda s: s["framesDrawn"] >= 30 and s["audio"]["framesHandedOver"] > 0, 30)
        check(status["framesDrawn"] >= 30 and status["audio"]["open"] and status["audio"]["framesHandedOver"] > 0,
              "a click starts the show with its sound")
        errors = console_errors(tools.events) + status["errors"]
        for error in errors:
            print("      console:", error)
        check(not errors, "the page's console has no error (click to start)")
    finally:
        browser.kill()
        browser.wait()


# --- the music made as the show plays, and what the page weighs ------------

LARGEST_PAGE = 2 * 1024 * 1024
LATEST_START_MS = 1500
MUSIC_SECONDS = 60


def page_size(folder):
    """What the page's files weigh as a server sends them, gzip at level 6."""
    total = 0
    for name in sorted(os.listdir(folder)):
        with open(os.path.join(folder, name), "rb") as source:
            raw = source.read()
        packed = len(gzip.compress(raw, compresslevel=6))
        print(f"      {name}: {len(raw) / 1024:.0f} KB, {packed / 1024:.0f} KB with gzip")
        total += packed
    check(total <= LARGEST_PAGE, f"the page transfers {total / 1048576:.2f} MB with gzip (at most 2 MB)")


# Notes when the page is clicked and when its first frame has been drawn,
# on the page's own clock.
WATCH_START = """
(() => {
  window.__clickAt = null;
  window.__firstFrameAt = null;
  addEventListener('mousedown', () => { window.__clickAt = performance.now(); }, { capture: true, once: true });
  const watch = () => {
    if (window.veskStatus().framesDrawn >= 1) {
      window.__firstFrameAt = performance.now();
      return;
    }
    requestAnimationFrame(watch);
  };
  watch();
  return true;
})()
"""


def start_by_click(url, profile):
    """Opens the page without leave to play sound and clicks: the page, and
    the milliseconds from the click to the show's first frame (None if none)."""
    browser, tools = open_page(url, profile, sound_allowed=False)
    wait_for(tools, lambda s: s["phase"] in ("ready", "failed"), 180)
    tools.evaluate(WATCH_START)
    for kind in ("mousePressed", "mouseReleased"):
        tools.call("Input.dispatchMouseEvent", type=kind, x=512, y=300, button="left", clickCount=1)
    wait_for(tools, lambda s: s["framesDrawn"] >= 1 or s["phase"] == "failed", 30)
    start = tools.evaluate("window.__firstFrameAt !== null && window.__clickAt !== null"
                           " ? window.__firstFrameAt - window.__clickAt : null")
    return browser, tools, start


def close(browser):
    browser.kill()
    browser.wait()


def music_run(url, profile):
    """Click to start, then a minute of the show with its music made as it plays."""
    browser, tools, start = start_by_click(url, profile + "-0")
    starts = [start]
    try:
        status = wait_for(tools, lambda s: s["showMs"] >= MUSIC_SECONDS * 1000 or s["phase"] != "running",
                          MUSIC_SECONDS * 3)
        music = status["music"]
        played = music["framesPlayed"] / 44100
        share = music["renderMs"] / max(status["showMs"], 1)
        print(f"      music over {status['showMs'] / 1000:.1f} s of show: {played:.1f} s played, "
              f"{music['framesMissed']:.0f} frames missed in {music['underruns']:.0f} underruns; "
              f"making it took {music['renderMs'] / 1000:.2f} s ({100 * share:.1f} % of the show's time)")
        check(status["showMs"] >= MUSIC_SECONDS * 1000 and played > 0,
              f"the show and its music ran for {MUSIC_SECONDS} s")
        check(music["underruns"] == 0 and music["framesMissed"] == 0,
              f"no frame of the music was late over the show's first {MUSIC_SECONDS} s")
    finally:
        close(browser)
    # The start is a time on a shared machine: a busy moment can hold one
    # back, so up to two more starts are tried and the quickest counts.
    while len(starts) < 3 and min((s for s in starts if s is not None), default=LATEST_START_MS + 1) > LATEST_START_MS:
        browser, _, start = start_by_click(url, f"{profile}-{len(starts)}")
        close(browser)
        starts.append(start)
    shown = ", ".join("none" if s is None else f"{s:.0f} ms" for s in starts)
    best = min((s for s in starts if s is not None), default=None)
    check(best is not None and best <= LATEST_START_MS,
          f"the show starts within 1.5 s of the click (click to first frame: {shown})")


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("web_dir")
    parser.add_argument("--screenshot", default=None)
    parser.add_argument("--seconds", type=float, default=5.0, help="how long the frame rate is measured")
    args = parser.parse_args()

    server = serve(os.path.abspath(args.web_dir))
    url = f"http://127.0.0.1:{server.server_address[1]}/"
    profile = tempfile.mkdtemp(prefix="vesk-chromium-")
    try:
        autoplay(url, os.path.join(profile, "autoplay"), args)
        click_to_start(url, os.path.join(profile, "click"))
        page_size(os.path.abspath(args.web_dir))
        music_run(url, os.path.join(profile, "music"))
    finally:
        server.shutdown()
        shutil.rmtree(profile, ignore_errors=True)


def autoplay(url, profile, args):
    """With sound allowed, the show starts by itself."""
    opened = time.monotonic()
    browser, tools = open_page(url, profile, sound_allowed=True)
    try:
        status = wait_for(tools, lambda s: s["framesDrawn"] >= 1 or s["phase"] == "failed", 180)
        started = time.monotonic() - opened
        check(status is not None and status["framesDrawn"] >= 1,
              f"the show starts by itself and draws (first frame {started:.1f} s after opening the page)")
        if not status or status["framesDrawn"] < 1:
            print("page state:", status)
            return

        # Pacing in real time: frames against the show's own clock.
        time.sleep(1.0)
        first = tools.evaluate("veskStatus()")
        time.sleep(args.seconds)
        second = tools.evaluate("veskStatus()")
        frames = second["framesDrawn"] - first["framesDrawn"]
        show_seconds = (second["showMs"] - first["showMs"]) / 1000.0
        rate = frames / show_seconds if show_seconds > 0 else 0.0
        print(f"      frame rate in headless Chromium: {rate:.1f} frames per second "
              f"({frames:.0f} frames in {show_seconds:.2f} s of show time)")
        # The rate is a figure, not a verdict: a loaded machine draws fewer.
        check(frames >= args.seconds, "frames keep coming")
        handed = second["audio"]["framesHandedOver"] - first["audio"]["framesHandedOver"]
        print(f"      audio: {handed:.0f} frames taken in {show_seconds:.2f} s "
              f"({handed / max(show_seconds, 1e-9):.0f} a second)")
        check(second["audio"]["open"], "the audio output is open")
        check(0.5 * 44100 * show_seconds <= handed <= 1.5 * 44100 * show_seconds,
              "the audio output takes the mixer's passes at about 44100 frames a second")

        shot = base64.b64decode(tools.call("Page.captureScreenshot", format="png")["data"])
        if args.screenshot:
            with open(args.screenshot, "wb") as out:
                out.write(shot)
        geometry = tools.evaluate(
            "(() => { const r = document.getElementById('canvas').getBoundingClientRect();"
            " return [r.left, r.top, r.width, r.height, devicePixelRatio]; })()")
        left, top, width, height = (round(v * geometry[4]) for v in geometry[:4])
        image = decode_png(shot)
        sx, sy = width / 768, height / 576
        box = lambda x0, y0, x1, y1: (left + round(x0 * sx), top + round(y0 * sy),
                                      left + round(x1 * sx), top + round(y1 * sy))
        # The logo is 450 x 104 about the centre, 10 pixels up; the countdown's
        # six digits are 5 times the font's 8 x 16 from (224, 350).
        logo = lit_share(image, *box(159, 226, 609, 330))
        countdown = lit_share(image, *box(224, 350, 464, 430))
        outside = lit_share(image, 0, 0, max(left - 2, 1), image[1])
        print(f"      screenshot: logo area {100 * logo:.0f}% lit, countdown area {100 * countdown:.0f}% lit, "
              f"page beside the canvas {100 * outside:.0f}% lit")
        check(logo > 0.05, "the screenshot shows the logo")
        check(countdown > 0.02, "the screenshot shows the countdown")

        tools.call("Input.dispatchKeyEvent", type="rawKeyDown", key="Escape", code="Escape",
                   windowsVirtualKeyCode=27, nativeVirtualKeyCode=27)
        tools.call("Input.dispatchKeyEvent", type="keyUp", key="Escape", code="Escape",
                   windowsVirtualKeyCode=27, nativeVirtualKeyCode=27)
        ended = wait_for(tools, lambda s: s["phase"] == "ended", 10)
        check(ended["phase"] == "ended", "Escape ends the show")
        shown = tools.evaluate("!document.getElementById('ended').classList.contains('hidden')")
        check(shown, "the page says that the show has ended")

        errors = console_errors(tools.events) + ended["errors"]
        for error in errors:
            print("      console:", error)
        check(not errors, "the page's console has no error")

        # Full screen is the browser's: a larger window scales the canvas by
        # whole multiples.
        tools.call("Emulation.setDeviceMetricsOverride", width=1600, height=1250, deviceScaleFactor=1, mobile=False)
        # The page hears of the new size with its next resize event.
        deadline = time.monotonic() + 10
        while True:
            scaled = tools.evaluate("document.getElementById('canvas').getBoundingClientRect().width")
            if abs(scaled - 1536) < 0.5 or time.monotonic() > deadline:
                break
            time.sleep(0.1)
        check(abs(scaled - 1536) < 0.5, f"a 1600 x 1250 window shows the canvas twice its size ({scaled:.0f} wide)")
    finally:
        browser.kill()
        browser.wait()


if __name__ == "__main__":
    main()
    if FAILURES:
        print(f"{len(FAILURES)} check(s) failed")
        sys.exit(1)
    print("all checks passed")
