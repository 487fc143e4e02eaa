#!/usr/bin/env python3
"""The intro's web page in a real browser, checked as a visitor meets it.

    page_test.py WEB_DIR [--browser chromium|firefox] [--screenshot FILE]
                 [--phone-screenshot FILE] [--seconds N]

Serves WEB_DIR (index.html, intro.js, intro.wasm) on 127.0.0.1 and opens it
in headless Chromium, through its DevTools protocol, or in Firefox ESR on a
virtual X server, through WebDriver BiDi (Firefox's own headless mode finds
no GL driver here, so it would have no WebGL). Over several visits it checks:
  - the show starts and draws at least 20 frames a second (median over 5 s),
    shows the logo and the countdown, and its sound flows at the output rate;
  - Space pauses and resumes the show's clock and its music together, M
    mutes, and a hidden page goes on at the show time it was hidden at;
  - Escape ends the show with a notice on a backdrop and closes the audio
    output, and "Play again" draws the show anew from its start;
  - the canvas: whole multiples where the window allows, smooth below 1x,
    and a phone's viewport filled without overflow, upright and on its side;
  - on the phone a touch starts the show, and the progress is right from a
    server that compresses the module;
  - failures in plain words: no WebGL (before any sound), a page opened from
    file://, a module the server does not have; no sound leaves a note;
  - every console free of errors and of unexpected warnings;
  - in Chromium: the page, all its files, is at most 2 MB as transferred with
    gzip; after a click the show starts within 1.5 s; and the music, made
    from its score as the show plays, misses no frame over the first minute.
It prints the figures it measured and exits 0 when every check passed. Only
the standard library is used.
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
import statistics
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


def figure(text):
    print("      " + text, flush=True)


# --- JSON messages over a WebSocket (client side of RFC 6455) --------------

class Connection:
    """Commands with ids and their answers; anything else is kept as an event."""

    def __init__(self, url):
        hostport, path = url[len("ws://"):].split("/", 1)
        host, port = hostport.split(":")
        self.sock = socket.create_connection((host, int(port)), timeout=60)
        key = base64.b64encode(os.urandom(16)).decode()
        self.sock.sendall((f"GET /{path} HTTP/1.1\r\nHost: {hostport}\r\nUpgrade: websocket\r\n"
                           f"Connection: Upgrade\r\nSec-WebSocket-Key: {key}\r\n"
                           "Sec-WebSocket-Version: 13\r\n\r\n").encode())
        reply = b""
        while b"\r\n\r\n" not in reply:
            chunk = self.sock.recv(4096)
            if not chunk:
                raise RuntimeError("the browser closed the connection during the handshake")
            reply += chunk
        if b" 101 " not in reply.split(b"\r\n", 1)[0]:
            raise RuntimeError("the browser refused the WebSocket: " + reply.split(b"\r\n", 1)[0].decode())
        self.pending = reply.split(b"\r\n\r\n", 1)[1]
        self.next_id = 0
        self.events = []

    def _read(self, count):
        while len(self.pending) < count:
            chunk = self.sock.recv(1 << 20)
            if not chunk:
                raise RuntimeError("the browser closed the connection")
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
                raise RuntimeError("the browser closed the connection")

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
                    raise RuntimeError(f"{method}: {message['error']} {message.get('message', '')}")
                return message.get("result", {})
            self.events.append(message)

    def close(self):
        try:
            self.sock.close()
        except OSError:
            pass


def wait_for_line(process, marker, seconds):
    """The rest of the first line of the browser's error output holding marker."""
    deadline = time.monotonic() + seconds
    while time.monotonic() < deadline:
        line = process.stderr.readline()
        if not line and process.poll() is not None:
            break
        if marker in line:
            threading.Thread(target=lambda: process.stderr.read(), daemon=True).start()
            return line.split(marker, 1)[1].strip()
    return None


def stop(process):
    if process and process.poll() is None:
        try:
            os.killpg(process.pid, 9)
        except OSError:
            process.kill()
        process.wait()


# --- The browsers: one interface, two protocols -----------------------------

# What the page says or asks, as keys a visitor presses.
KEYS = {"Escape": ("Escape", "Escape", 27, "\ue00c"), " ": (" ", "Space", 32, " "),
        "m": ("m", "KeyM", 77, "m"), "f": ("f", "KeyF", 70, "f")}


class Chromium:
    """Headless Chromium, through its DevTools protocol."""
    name = "chromium"
    has_sound = True

    def __init__(self, profile, sound_allowed=True, webgl=True):
        browser = shutil.which("chromium") or shutil.which("chromium-browser")
        if not browser:
            sys.exit("page_test: chromium is not installed (scripts/web --test installs it)")
        self.process = subprocess.Popen(
            [browser, "--headless=new", "--no-sandbox", "--use-angle=swiftshader", "--enable-unsafe-swiftshader",
             *(["--autoplay-policy=no-user-gesture-required"] if sound_allowed else []),
             *([] if webgl else ["--disable-webgl", "--disable-3d-apis"]),
             "--no-first-run", "--disable-background-networking", "--disable-component-update",
             "--disable-sync", "--disable-quic", "--mute-audio", "--window-size=1024,768",
             f"--user-data-dir={profile}", "--remote-debugging-port=0", "about:blank"],
            stdout=subprocess.DEVNULL, stderr=subprocess.PIPE, text=True, start_new_session=True)
        self.browser_url = wait_for_line(self.process, "DevTools listening on ", 60)
        if not self.browser_url:
            stop(self.process)
            sys.exit("page_test: chromium did not start its DevTools endpoint")
        port = self.browser_url.split("://", 1)[1].split("/", 1)[0]
        with urllib.request.urlopen(f"http://{port}/json/list", timeout=10) as reply:
            targets = json.load(reply)
        self.tools = Connection(next(t["webSocketDebuggerUrl"] for t in targets if t.get("type") == "page"))
        for domain in ("Runtime.enable", "Log.enable", "Page.enable"):
            self.tools.call(domain)
        self.other_tab = None

    def before_load(self, source):
        self.tools.call("Page.addScriptToEvaluateOnNewDocument", source=source)

    def navigate(self, url):
        self.tools.call("Page.navigate", url=url)

    def evaluate(self, expression):
        result = self.tools.call("Runtime.evaluate", expression=f"JSON.stringify({expression})", returnByValue=True)
        if "exceptionDetails" in result:
            raise RuntimeError(f"{expression}: {result['exceptionDetails'].get('text')}")
        value = result["result"].get("value")
        return None if value is None else json.loads(value)

    def key(self, name):
        key, code, number, _ = KEYS[name]
        for kind in ("rawKeyDown", "keyUp"):
            self.tools.call("Input.dispatchKeyEvent", type=kind, key=key, code=code,
                            windowsVirtualKeyCode=number, nativeVirtualKeyCode=number)

    def click(self, x, y):
        self.tools.call("Input.dispatchMouseEvent", type="mouseMoved", x=x, y=y)
        for kind in ("mousePressed", "mouseReleased"):
            self.tools.call("Input.dispatchMouseEvent", type=kind, x=x, y=y, button="left", clickCount=1)

    def touch(self, x, y):
        self.tools.call("Input.dispatchTouchEvent", type="touchStart", touchPoints=[{"x": x, "y": y}])
        self.tools.call("Input.dispatchTouchEvent", type="touchEnd", touchPoints=[])

    def resize(self, width, height, scale=1, phone=False):
        self.tools.call("Emulation.setDeviceMetricsOverride", width=width, height=height,
                        deviceScaleFactor=scale, mobile=phone)
        if phone:
            self.tools.call("Emulation.setTouchEmulationEnabled", enabled=True, maxTouchPoints=5)

    def screenshot(self):
        return base64.b64decode(self.tools.call("Page.captureScreenshot", format="png")["data"])

    def hide(self):
        """Another tab comes to the front."""
        tools = Connection(self.browser_url)
        self.other_tab = tools.call("Target.createTarget", url="about:blank")["targetId"]
        tools.close()

    def show(self):
        self.tools.call("Page.bringToFront")
        tools = Connection(self.browser_url)
        tools.call("Target.closeTarget", targetId=self.other_tab)
        tools.close()

    def console(self):
        """(level, text) of every error and warning so far."""
        found = []
        for event in self.tools.events:
            method, params = event.get("method"), event.get("params", {})
            if method == "Runtime.exceptionThrown":
                details = params.get("exceptionDetails", {})
                found.append(("error", details.get("exception", {}).get("description") or details.get("text")))
            elif method == "Runtime.consoleAPICalled" and params.get("type") in ("error", "assert", "warning"):
                text = " ".join(str(a.get("value", a.get("description"))) for a in params.get("args", []))
                found.append(("warning" if params["type"] == "warning" else "error", text))
            elif method == "Log.entryAdded" and params.get("entry", {}).get("level") in ("error", "warning"):
                found.append((params["entry"]["level"], params["entry"].get("text")))
        return found

    def close(self):
        self.tools.close()
        stop(self.process)


class Firefox:
    """Firefox ESR on a virtual X server, through WebDriver BiDi."""
    name = "firefox"
    # Firefox opens no audio output without a sound device, and CI has none:
    # its audio context never starts, so the page shows its no-sound note.
    has_sound = False

    PREFERENCES = {
        "browser.shell.checkDefaultBrowser": False,
        "datareporting.policy.dataSubmissionEnabled": False,
        "browser.aboutwelcome.enabled": False,
        "media.autoplay.default": 0,
    }

    def __init__(self, profile, sound_allowed=True, webgl=True):
        for tool in ("firefox-esr", "Xvfb"):
            if not shutil.which(tool):
                sys.exit(f"page_test: {tool} is not installed (scripts/web --test installs it)")
        os.makedirs(profile, exist_ok=True)
        preferences = dict(self.PREFERENCES, **{"webgl.disabled": not webgl,
                                                "media.autoplay.default": 0 if sound_allowed else 1})
        with open(os.path.join(profile, "user.js"), "w") as out:
            for name, value in preferences.items():
                out.write(f"user_pref({json.dumps(name)}, {json.dumps(value)});\n")
        read, write = os.pipe()
        self.display = subprocess.Popen(
            ["Xvfb", "-displayfd", str(write), "-screen", "0", "1920x1600x24", "-nolisten", "tcp"],
            pass_fds=(write,), stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, start_new_session=True)
        os.close(write)
        with os.fdopen(read) as numbers:
            number = numbers.readline().strip()
        environment = dict(os.environ, DISPLAY=f":{number}", HOME=profile)
        self.process = subprocess.Popen(
            ["firefox-esr", "--remote-debugging-port=0", "--profile", profile, "--no-remote", "about:blank"],
            stdout=subprocess.DEVNULL, stderr=subprocess.PIPE, text=True, env=environment, start_new_session=True)
        address = wait_for_line(self.process, "WebDriver BiDi listening on ", 90)
        if not address:
            self.close()
            sys.exit("page_test: firefox did not start WebDriver BiDi")
        self.bidi = Connection(address + "/session")
        self.bidi.call("session.new", capabilities={})
        self.context = self.bidi.call("browsingContext.getTree")["contexts"][0]["context"]
        self.bidi.call("session.subscribe", events=["log.entryAdded"])
        self.other_tab = None

    def before_load(self, source):
        self.bidi.call("script.addPreloadScript", functionDeclaration=f"() => {{ {source} }}")

    def navigate(self, url):
        self.bidi.call("browsingContext.navigate", context=self.context, url=url, wait="none")

    def evaluate(self, expression):
        result = self.bidi.call("script.evaluate", expression=f"JSON.stringify({expression})",
                                target={"context": self.context}, awaitPromise=False)
        if result.get("type") != "success":
            raise RuntimeError(f"{expression}: {result.get('exceptionDetails', {}).get('text')}")
        value = result["result"].get("value")
        return None if value is None else json.loads(value)

    def _act(self, source):
        self.bidi.call("input.performActions", context=self.context, actions=[source])

    def key(self, name):
        value = KEYS[name][3]
        self._act({"type": "key", "id": "keyboard",
                   "actions": [{"type": "keyDown", "value": value}, {"type": "keyUp", "value": value}]})

    def _point(self, kind, x, y):
        self._act({"type": "pointer", "id": kind, "parameters": {"pointerType": kind},
                   "actions": [{"type": "pointerMove", "x": round(x), "y": round(y)},
                               {"type": "pointerDown", "button": 0}, {"type": "pointerUp", "button": 0}]})

    def click(self, x, y):
        self._point("mouse", x, y)

    def touch(self, x, y):
        self._point("touch", x, y)

    def resize(self, width, height, scale=1, phone=False):
        self.bidi.call("browsingContext.setViewport", context=self.context,
                       viewport={"width": width, "height": height}, devicePixelRatio=scale)

    def screenshot(self):
        return base64.b64decode(self.bidi.call("browsingContext.captureScreenshot", context=self.context)["data"])

    def hide(self):
        self.other_tab = self.bidi.call("browsingContext.create", type="tab")["context"]

    def show(self):
        self.bidi.call("browsingContext.activate", context=self.context)
        self.bidi.call("browsingContext.close", context=self.other_tab)

    def console(self):
        found = []
        for event in self.bidi.events:
            if event.get("method") == "log.entryAdded":
                level = event["params"].get("level")
                if level in ("error", "warn"):
                    found.append(("warning" if level == "warn" else "error", event["params"].get("text")))
        return found

    def close(self):
        if hasattr(self, "bidi"):
            self.bidi.close()
        stop(self.process)
        stop(self.display)


# --- Reading the screenshot (8-bit RGB or RGBA PNG, as the browsers write it)

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


# --- Serving the page --------------------------------------------------------

class QuietHandler(http.server.SimpleHTTPRequestHandler):
    def log_message(self, *args):
        pass


class CompressingHandler(QuietHandler):
    """Sends intro.wasm gzip-compressed, as many servers do."""
    packed = {}

    def do_GET(self):
        if not self.path.startswith("/intro.wasm") or "gzip" not in self.headers.get("Accept-Encoding", ""):
            return super().do_GET()
        path = os.path.join(self.directory, "intro.wasm")
        if path not in self.packed:
            with open(path, "rb") as module:
                self.packed[path] = gzip.compress(module.read(), compresslevel=1)
        body = self.packed[path]
        self.send_response(200)
        self.send_header("Content-Type", "application/wasm")
        self.send_header("Content-Encoding", "gzip")
        self.send_header("Content-Length", str(len(body)))
        self.end_headers()
        self.wfile.write(body)


class MissingModuleHandler(QuietHandler):
    def do_GET(self):
        if self.path.startswith("/intro.wasm"):
            return self.send_error(404, "File not found")
        return super().do_GET()


def serve(folder, handler=QuietHandler):
    server = http.server.ThreadingHTTPServer(("127.0.0.1", 0), functools.partial(handler, directory=folder))
    threading.Thread(target=server.serve_forever, daemon=True).start()
    return server, f"http://127.0.0.1:{server.server_address[1]}/"


# --- What a visitor sees -------------------------------------------------------

# What the page reports, with what an older page does not report left at
# values that pass no check.
UNREPORTED = {"phase": None, "paused": None, "muted": None, "hidden": None, "framesDrawn": 0, "showMs": 0,
              "frameGaps": {"count": 0, "medianMs": 0, "p90Ms": 0, "p99Ms": 0, "longestMs": 0, "over80Ms": 0},
              "audio": {"open": None, "framesHandedOver": 0},
              "download": {"received": 0, "total": 0, "largestPercent": 0}, "notes": [], "errors": []}


def status(page):
    reported = page.evaluate("window.veskStatus ? veskStatus() : null")
    if reported is None:
        return None
    merged = dict(UNREPORTED, **reported)
    for part in ("frameGaps", "audio", "download"):
        merged[part] = dict(UNREPORTED[part], **reported.get(part, {}))
    # The toolchain's SDL layer keeps one audio context for the page.
    merged["audio"]["context"] = page.evaluate(
        "(typeof SDL !== 'undefined' && SDL.audioContext) ? SDL.audioContext.state : 'none'")
    return merged


def wait_for(page, condition, seconds):
    deadline = time.monotonic() + seconds
    while True:
        now = status(page)
        if (now and condition(now)) or time.monotonic() > deadline:
            return now
        time.sleep(0.2)


def element(page, selector):
    """Where an element is, whether it shows, and its text."""
    return page.evaluate(
        f"(() => {{ const e = document.querySelector({json.dumps(selector)}); if (!e) return null;"
        " const r = e.getBoundingClientRect(); const s = getComputedStyle(e);"
        " return {left: r.left, top: r.top, width: r.width, height: r.height, x: r.left + r.width / 2,"
        " y: r.top + r.height / 2, shown: r.width > 0 && s.visibility !== 'hidden' && s.opacity !== '0',"
        " text: e.innerText, background: s.backgroundColor, rendering: s.imageRendering}; })()")


def canvas_fit(page):
    """The canvas's box and rendering, and the page's own extent."""
    box = element(page, "#canvas")
    extent = page.evaluate("[document.documentElement.scrollWidth, document.documentElement.scrollHeight,"
                           " innerWidth, innerHeight]")
    return box, extent


def press(page, selector):
    place = element(page, selector)
    if not place or not place["shown"]:
        return False
    page.click(place["x"], place["y"])
    return True


def start_show(page, seconds=180):
    """Waits for the show; where the page asks for a click first, gives one."""
    now = wait_for(page, lambda s: s["framesDrawn"] >= 1 or s["phase"] in ("ready", "failed"), seconds)
    if now and now["phase"] == "ready":
        press(page, "#start") or press(page, "#prompt")
        now = wait_for(page, lambda s: s["framesDrawn"] >= 1 or s["phase"] == "failed", 60)
    return now


def sound_flows(page, status_now):
    """Whether this browser gives the page sound here; Chromium must."""
    if page.has_sound:
        return True
    if status_now["audio"]["context"] != "running":
        figure(f"{page.name} has no audio output here (its audio context stays "
               f"{status_now['audio']['context']}): the sound checks are left to Chromium")
        return False
    return True


# Warnings a visit may meet without a fault. Chromium warns once that the page's
# probe (a fresh audio context, to learn whether sound needs a click) was not
# allowed to start.
EXPECTED_WARNINGS = ("The AudioContext was not allowed to start",
                     "An AudioContext was prevented from starting automatically")


def console_clean(page, what, expected_errors=()):
    unexpected = [(level, text) for level, text in page.console()
                  if not (level == "warning" and any(w in str(text) for w in EXPECTED_WARNINGS))
                  and not (level == "error" and any(e in str(text) for e in expected_errors))]
    for level, text in unexpected:
        figure(f"console {level}: {text}")
    check(not unexpected, f"the console has no error and no unexpected warning ({what})")


def paced_frames(page, seconds):
    """The median frame rate over one-second spans, against the show's clock."""
    samples = [status(page)]
    for _ in range(int(seconds)):
        time.sleep(1.0)
        samples.append(status(page))
    rates = []
    for before, after in zip(samples, samples[1:]):
        span = (after["showMs"] - before["showMs"]) / 1000.0
        rates.append((after["framesDrawn"] - before["framesDrawn"]) / span if span > 0 else 0.0)
    return statistics.median(rates), samples[0], samples[-1]


# --- The visits ------------------------------------------------------------------

def visit_show(browser, folder, profile, args):
    """Sound allowed: the show, its controls, its end, Play again, its sizes."""
    server, url = serve(folder)
    page = browser(profile)
    try:
        opened = time.monotonic()
        page.navigate(url)
        now = start_show(page)
        started = time.monotonic() - opened
        if not check(now is not None and now["framesDrawn"] >= 1,
                     f"the show starts and draws (first frame {started:.1f} s after opening the page)"):
            figure(f"page state: {now}")
            return
        check(page.evaluate("document.title") == "Torvel intro", "the page's title names the show")
        time.sleep(1.0)
        sound = sound_flows(page, status(page))

        rate, first, last = paced_frames(page, args.seconds)
        gaps = last["frameGaps"]
        figure(f"frame rate: median {rate:.1f} frames a second over {args.seconds:.0f} s")
        figure(f"frame gaps: median {gaps['medianMs']} ms, 90% within {gaps['p90Ms']} ms, 99% within "
               f"{gaps['p99Ms']} ms, longest {gaps['longestMs']} ms, {gaps['over80Ms']} over 80 ms "
               f"of {gaps['count']}")
        check(rate >= 20, "the show draws at least 20 frames a second (median over one-second spans)")
        if sound:
            span = (last["showMs"] - first["showMs"]) / 1000.0
            handed = last["audio"]["framesHandedOver"] - first["audio"]["framesHandedOver"]
            figure(f"audio: {handed:.0f} frames taken in {span:.2f} s ({handed / max(span, 1e-9):.0f} a second)")
            check(last["audio"]["open"] and 0.5 * 44100 * span <= handed <= 1.5 * 44100 * span,
                  "the audio output takes the mixer's passes at about 44100 frames a second")

        check_screenshot(page, args.screenshot)
        check_pause(page, sound)
        check_hidden(page, sound)
        page.key("m")
        muted = wait_for(page, lambda s: s["muted"], 5)
        page.key("m")
        unmuted = wait_for(page, lambda s: not s["muted"], 5)
        check(muted["muted"] and not unmuted["muted"], "M mutes the sound and M again gives it back")
        check_end_and_again(page, sound)
        check_desktop_sizes(page)
        console_clean(page, "the show")
    finally:
        page.close()
        server.shutdown()


def check_screenshot(page, path):
    shot = page.screenshot()
    if path:
        with open(path, "wb") as out:
            out.write(shot)
    box = element(page, "#canvas")
    ratio = page.evaluate("devicePixelRatio")
    left, top, width, height = (round(box[k] * ratio) for k in ("left", "top", "width", "height"))
    image = decode_png(shot)
    sx, sy = width / 768, height / 576
    area = lambda x0, y0, x1, y1: (left + round(x0 * sx), top + round(y0 * sy),
                                   left + round(x1 * sx), top + round(y1 * sy))
    # The logo is 450 x 104 about the centre, 10 pixels up; the countdown's
    # six digits are 5 times the font's 8 x 16 from (224, 350).
    logo = lit_share(image, *area(159, 226, 609, 330))
    countdown = lit_share(image, *area(224, 350, 464, 430))
    figure(f"screenshot: logo area {100 * logo:.0f}% lit, countdown area {100 * countdown:.0f}% lit")
    check(logo > 0.05, "the screenshot shows the logo")
    check(countdown > 0.02, "the screenshot shows the countdown")


def check_pause(page, sound):
    """Space holds the show's clock and its music; Space again goes on from there."""
    page.key(" ")
    held = wait_for(page, lambda s: s.get("paused"), 5)
    if not check(held is not None and held.get("paused") is True, "Space pauses the show"):
        return
    time.sleep(2.0)
    later = status(page)
    check(later["showMs"] == held["showMs"] and later["framesDrawn"] == held["framesDrawn"],
          f"a pause stops the show's clock and frames ({later['showMs'] - held['showMs']:.0f} ms on in 2 s)")
    if sound:
        moved = later["audio"]["framesHandedOver"] - held["audio"]["framesHandedOver"]
        check(moved <= 4096 and later["audio"]["context"] != "running",
              f"a pause stops the music ({moved:.0f} frames taken in 2 s, audio context {later['audio']['context']})")
    resumed_at = time.monotonic()
    page.key(" ")
    going = wait_for(page, lambda s: not s["paused"] and s["framesDrawn"] >= later["framesDrawn"] + 5, 10)
    waited = time.monotonic() - resumed_at
    check(not going["paused"] and going["framesDrawn"] >= later["framesDrawn"] + 5
          and going["showMs"] - later["showMs"] <= 1000 * waited + 500,
          "Space resumes the show where it stopped")


def check_hidden(page, sound):
    """A hidden page pauses; shown again, it goes on at the show time it had."""
    before = status(page)
    hiding = time.monotonic()
    page.hide()
    hidden_after = time.monotonic() - hiding
    time.sleep(4.0)
    during = status(page)
    check(during["hidden"] and during["paused"], "a hidden page pauses the show")
    if sound:
        moved = during["audio"]["framesHandedOver"] - before["audio"]["framesHandedOver"]
        check(moved <= 4096 + 44100 * (hidden_after + 0.5),
              f"the music waits while the page is hidden ({moved:.0f} frames taken in 4 s)")
    shown = time.monotonic()
    page.show()
    after = wait_for(page, lambda s: not s["paused"] and s["framesDrawn"] >= during["framesDrawn"] + 5, 15)
    waited = time.monotonic() - shown
    gone_on = after["showMs"] - before["showMs"]
    check(not after["paused"] and gone_on <= 1000 * (hidden_after + waited) + 500,
          f"shown again after 4 s, the show goes on at the time it was hidden at "
          f"({gone_on:.0f} ms on, {1000 * (hidden_after + waited):.0f} ms of it visible)")


def check_end_and_again(page, sound):
    page.key("Escape")
    ended = wait_for(page, lambda s: s["phase"] == "ended", 10)
    check(ended["phase"] == "ended", "Escape ends the show")
    notice = element(page, "#ended")
    again = element(page, "#again")
    backdrop = notice and [float(v) for v in notice["background"].split("(")[1].rstrip(")").split(",")]
    check(notice is not None and notice["shown"] and "The show has ended." in notice["text"]
          and backdrop is not None and len(backdrop) == 4 and backdrop[3] >= 0.5,
          "the end notice shows on a backdrop")
    time.sleep(1.0)
    closed = status(page)
    check(not closed["audio"]["open"] and closed["audio"]["context"] != "running",
          f"the audio output is closed after the end (audio context {closed['audio']['context']})")
    if not check(again is not None and again["shown"] and "Play again" in again["text"],
                 "the end notice offers \"Play again\""):
        return
    clicked = time.monotonic()
    page.click(again["x"], again["y"])
    anew = wait_for(page, lambda s: s["phase"] == "running" and s["framesDrawn"] >= closed["framesDrawn"] + 10, 30)
    waited = time.monotonic() - clicked
    check(anew["phase"] == "running" and anew["framesDrawn"] >= closed["framesDrawn"] + 10
          and anew["showMs"] <= 1000 * waited + 500,
          f"Play again draws the show anew from its start ({anew['showMs']:.0f} ms in, {waited:.1f} s after the click)")
    if sound:
        check(anew["audio"]["open"] and anew["audio"]["context"] == "running", "Play again opens the sound again")


def check_desktop_sizes(page):
    # A large window: whole multiples, crisp. The page hears of the new size
    # with its next resize event.
    page.resize(1600, 1250)
    box = poll(lambda: element(page, "#canvas"), lambda b: abs(b["width"] - 1536) < 0.5)
    check(abs(box["width"] - 1536) < 0.5 and box["rendering"] == "pixelated",
          f"a 1600 x 1250 window shows the canvas twice its size, pixel-crisp "
          f"({box['width']:.0f} wide, {box['rendering']})")
    # Below 1x: the whole canvas in the window, scaled smoothly.
    page.resize(700, 500)
    box = poll(lambda: element(page, "#canvas"), lambda b: b["width"] < 700.5)
    fits = box["left"] >= -0.5 and box["top"] >= -0.5 and box["left"] + box["width"] <= 700.5 \
        and box["top"] + box["height"] <= 500.5 and box["height"] >= 499
    check(fits and box["rendering"] != "pixelated",
          f"a 700 x 500 window shows the whole canvas, smoothly scaled "
          f"({box['width']:.0f} x {box['height']:.0f} at {box['left']:.0f}, {box['top']:.0f}, {box['rendering']})")


def poll(read, condition, seconds=10):
    deadline = time.monotonic() + seconds
    while True:
        value = read()
        if (value and condition(value)) or time.monotonic() > deadline:
            return value
        time.sleep(0.1)


def check_phone_fit(page, width, height, what):
    room = min(width / 768, height / 576)

    def fits(fit):
        box, extent = fit
        inside = box["left"] >= -0.5 and box["top"] >= -0.5 and box["left"] + box["width"] <= width + 0.5 \
            and box["top"] + box["height"] <= height + 0.5
        return inside and box["width"] >= 768 * room - 1 and extent[0] <= width and extent[1] <= height \
            and box["rendering"] != "pixelated"

    # A turned phone resizes the viewport first and the page lays the canvas out again on a later
    # frame, which a loaded machine may draw a good while after: wait for the settled layout.
    box, extent = poll(lambda: canvas_fit(page), lambda f: f[1][2] == width and fits(f))
    check(fits((box, extent)),
          f"{what}: the canvas fills the {width} x {height} viewport without overflow, smoothly scaled "
          f"({box['width']:.0f} x {box['height']:.0f} at {box['left']:.0f}, {box['top']:.0f}; "
          f"page {extent[0]} x {extent[1]})")


def visit_phone(browser, folder, profile, args):
    """A phone, sound after a touch, from a server that compresses the module."""
    server, url = serve(folder, CompressingHandler)
    page = browser(profile, sound_allowed=False)
    try:
        page.resize(390, 844, scale=3, phone=True)
        page.navigate(url)
        ready = wait_for(page, lambda s: s["phase"] in ("ready", "failed"), 180)
        size = os.path.getsize(os.path.join(folder, "intro.wasm"))
        download = ready["download"]
        # The bar keeps its last width once the loading notice is gone.
        bar = float(page.evaluate("document.querySelector('#bar > div').style.width").rstrip("%") or 0)
        figure(f"download through gzip: {download['received']} bytes of {download['total']}, "
               f"bar at most {download['largestPercent']:.1f}%, at the end {bar:.1f}%")
        check(download["received"] == size and download["total"] == size and download["largestPercent"] <= 100.001
              and abs(bar - 100) < 0.05, "the progress is right when the server compresses the module")
        prompt = element(page, "#prompt")
        check(ready["phase"] == "ready" and prompt["shown"] and ready["framesDrawn"] == 0,
              "without leave to play sound the page waits for a touch")
        check_phone_fit(page, 390, 844, "a phone held upright")

        start = element(page, "#start") or prompt
        page.touch(start["x"], start["y"])
        going = wait_for(page, lambda s: s["framesDrawn"] >= 10 or s["phase"] == "failed", 60)
        check(going["framesDrawn"] >= 10, "a touch starts the show")
        if sound_flows(page, going):
            flowing = wait_for(page, lambda s: s["audio"]["framesHandedOver"] > 0, 10)
            check(flowing["audio"]["open"] and flowing["audio"]["framesHandedOver"] > 0, "with its sound")
        controls = element(page, "#controls")
        check(controls is not None and controls["shown"] and controls["top"] + controls["height"] <= 844.5,
              "the controls show on start, within the screen")
        if args.phone_screenshot:
            time.sleep(0.5)
            with open(args.phone_screenshot, "wb") as out:
                out.write(page.screenshot())
        page.resize(844, 390, scale=3, phone=True)
        check_phone_fit(page, 844, 390, "a phone on its side")
        console_clean(page, "the phone")
    finally:
        page.close()
        server.shutdown()


def failure_text(page, seconds=60):
    now = wait_for(page, lambda s: s["phase"] == "failed", seconds)
    shown = element(page, "#failed-text")
    return (shown["text"] if shown and shown["shown"] else ""), now


def visit_without_webgl(browser, folder, profile):
    server, url = serve(folder)
    page = browser(profile, webgl=False)
    try:
        page.navigate(url)
        text, now = failure_text(page)
        figure(f"without WebGL: {text!r}")
        check("needs WebGL" in text, "without WebGL the page says that it needs WebGL")
        check(now is not None and now["audio"]["context"] == "none", "and no sound has started")
        console_clean(page, "no WebGL", expected_errors=(text,))
    finally:
        page.close()
        server.shutdown()


def visit_from_file(browser, folder, profile):
    page = browser(profile)
    try:
        page.navigate("file://" + os.path.join(os.path.abspath(folder), "index.html"))
        text, _ = failure_text(page)
        figure(f"from file://: {text!r}")
        check("scripts/web --serve" in text, "opened from file://, the page says to serve it with scripts/web --serve")
        console_clean(page, "file://", expected_errors=(text,))
    finally:
        page.close()


def visit_without_module(browser, folder, profile):
    server, url = serve(folder, MissingModuleHandler)
    page = browser(profile)
    try:
        page.navigate(url)
        text, _ = failure_text(page)
        figure(f"module missing: {text!r}")
        check("intro.wasm" in text and "404" in text, "a download error names the file and the HTTP status")
        # The browser logs the failed request itself.
        console_clean(page, "module missing", expected_errors=(text, "404"))
    finally:
        page.close()
        server.shutdown()


def visit_without_sound(browser, folder, profile):
    server, url = serve(folder)
    page = browser(profile)
    try:
        # A browser that gives no audio output at all.
        page.before_load("delete window.AudioContext; delete window.webkitAudioContext;")
        page.navigate(url)
        start_show(page)
        going = wait_for(page, lambda s: s["framesDrawn"] >= 10 or s["phase"] == "failed", 60)
        note = element(page, "#note")
        check(going["framesDrawn"] >= 10 and note is not None and note["shown"] and "No sound" in note["text"],
              "without sound the show runs, with a note that says so")
        console_clean(page, "no sound")
    finally:
        page.close()
        server.shutdown()


# --- the music made as the show plays, and what the page weighs ------------

LARGEST_PAGE = 2 * 1024 * 1024
LATEST_START_MS = 1500
MUSIC_SECONDS = 60


def page_size(folder):
    """What the page's files weigh as a server sends them, gzip at level 6."""
    total = 0
    for name in sorted(os.listdir(folder)):
        if not os.path.isfile(os.path.join(folder, name)):
            continue
        with open(os.path.join(folder, name), "rb") as source:
            raw = source.read()
        packed = len(gzip.compress(raw, compresslevel=6))
        figure(f"{name}: {len(raw) / 1024:.0f} KB, {packed / 1024:.0f} KB with gzip")
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


def start_by_click(browser, url, profile):
    """Opens the page without leave to play sound and clicks its start: the
    page, and the milliseconds from the click to the show's first frame (None
    if none came)."""
    page = browser(profile, sound_allowed=False)
    page.navigate(url)
    wait_for(page, lambda s: s["phase"] in ("ready", "failed"), 180)
    page.evaluate(WATCH_START)
    press(page, "#start") or press(page, "#prompt")
    wait_for(page, lambda s: s["framesDrawn"] >= 1 or s["phase"] == "failed", 30)
    start = page.evaluate("window.__firstFrameAt !== null && window.__clickAt !== null"
                          " ? window.__firstFrameAt - window.__clickAt : null")
    return page, start


def check_music_again(page, played_before):
    """Play again starts the music over from the score's first frame, made anew."""
    page.key("Escape")
    wait_for(page, lambda s: s["phase"] == "ended", 10)
    if not press(page, "#again"):
        check(False, "the end notice offers \"Play again\" (for the music)")
        return
    wait_for(page, lambda s: s["phase"] == "running" and s["showMs"] >= 3000, 30)
    music = status(page).get("music", {})
    played = music.get("framesPlayed", 0) / 44100
    figure(f"music after Play again: {played:.1f} s played, {music.get('framesMissed', -1):.0f} frames missed")
    check(0 < played < played_before and music.get("framesMissed") == 0,
          "Play again starts the music over with no frame late")


def visit_music(browser, folder, profile):
    """Click to start, then a minute of the show with its music made as it plays."""
    server, url = serve(folder)
    try:
        page, start = start_by_click(browser, url, profile + "-0")
        starts = [start]
        try:
            now = wait_for(page, lambda s: s["showMs"] >= MUSIC_SECONDS * 1000 or s["phase"] != "running",
                           MUSIC_SECONDS * 3)
            music = now.get("music") or {"framesPlayed": 0, "framesMissed": -1, "underruns": -1, "renderMs": 0}
            played = music["framesPlayed"] / 44100
            share = music["renderMs"] / max(now["showMs"], 1)
            figure(f"music over {now['showMs'] / 1000:.1f} s of show: {played:.1f} s played, "
                   f"{music['framesMissed']:.0f} frames missed in {music['underruns']:.0f} underruns; "
                   f"making it took {music['renderMs'] / 1000:.2f} s ({100 * share:.1f} % of the show's time)")
            check(now["showMs"] >= MUSIC_SECONDS * 1000 and played > 0,
                  f"the show and its music ran for {MUSIC_SECONDS} s")
            check(music["underruns"] == 0 and music["framesMissed"] == 0,
                  f"no frame of the music was late over the show's first {MUSIC_SECONDS} s")
            check_music_again(page, played)
            console_clean(page, "the music's minute")
        finally:
            page.close()
        # The start is a time on a shared machine: a busy moment can hold one
        # back, so up to two more starts are tried and the quickest counts.
        quickest = lambda: min((s for s in starts if s is not None), default=None)
        while len(starts) < 3 and (quickest() is None or quickest() > LATEST_START_MS):
            page, start = start_by_click(browser, url, f"{profile}-{len(starts)}")
            page.close()
            starts.append(start)
        shown = ", ".join("none" if s is None else f"{s:.0f} ms" for s in starts)
        check(quickest() is not None and quickest() <= LATEST_START_MS,
              f"the show starts within 1.5 s of the click (click to first frame: {shown})")
    finally:
        server.shutdown()


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("web_dir")
    parser.add_argument("--browser", choices=("chromium", "firefox"), default="chromium")
    parser.add_argument("--screenshot", default=None)
    parser.add_argument("--phone-screenshot", default=None)
    parser.add_argument("--seconds", type=float, default=5.0, help="how long the frame rate is measured")
    args = parser.parse_args()

    browser = Chromium if args.browser == "chromium" else Firefox
    folder = os.path.abspath(args.web_dir)
    profiles = tempfile.mkdtemp(prefix=f"vesk-{args.browser}-")
    print(f"The page in {args.browser}:", flush=True)
    try:
        visit_without_webgl(browser, folder, os.path.join(profiles, "no-webgl"))
        visit_from_file(browser, folder, os.path.join(profiles, "file"))
        visit_without_module(browser, folder, os.path.join(profiles, "no-module"))
        visit_without_sound(browser, folder, os.path.join(profiles, "no-sound"))
        visit_show(browser, folder, os.path.join(profiles, "show"), args)
        visit_phone(browser, folder, os.path.join(profiles, "phone"), args)
        if browser is Chromium:
            page_size(folder)
            visit_music(browser, folder, os.path.join(profiles, "music"))
    finally:
        shutil.rmtree(profiles, ignore_errors=True)


if __name__ == "__main__":
    main()
    if FAILURES:
        print(f"{len(FAILURES)} check(s) failed")
        sys.exit(1)
    print("all checks passed")
