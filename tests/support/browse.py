#!/usr/bin/env python3
# SPDX-License-Identifier: MIT
# Opens a page in headless Chromium and acts on it as a person would, through the DevTools
# protocol on a pipe (no network port). Steps, in order:
#   init:JS     runs JS in the page before any of its own (steps of this kind come first)
#   type:TEXT   types TEXT into the focused element, key by key as text input
#   key:NAME    presses and releases a key by its DOM name (ArrowDown, PageDown, /, ...)
#   click:CSS   clicks the middle of the first element CSS selects, with the mouse
#   eval:JS     prints the value of JS (awaited when it is a promise) as one JSON line;
#               nothing when it has none
#   shot:FILE   saves what the window shows as a PNG file
#   peak:       prints the peak resident memory of the page's process, in kB
# Each step waits for two frames to be drawn after it. Exits 77 when Chromium cannot start.
# usage: browse.py PROGRAM PAGE STEP...   (PROGRAM is ignored: the test runner passes it)
import base64, json, os, select, shutil, subprocess, sys, tempfile, time

FLAGS = ["--headless", "--no-sandbox", "--disable-gpu", "--disable-background-networking",
         "--disable-component-update", "--disable-sync", "--no-first-run",
         "--remote-debugging-pipe", "--window-size=1200,900"]
FRAMES = "new Promise(r => requestAnimationFrame(() => requestAnimationFrame(r)))"


class Browser:
    def __init__(self, profile):
        exe = shutil.which("chromium") or shutil.which("chromium-browser")
        if not exe:
            raise OSError("chromium is not installed")
        to_browser, self.out = os.pipe()
        self.inp, from_browser = os.pipe()

        def on_fds_3_and_4():  # where the protocol pipe expects them
            reads, writes = os.dup(to_browser), os.dup(from_browser)
            os.dup2(reads, 3)
            os.dup2(writes, 4)

        self.proc = subprocess.Popen(
            [exe, *FLAGS, "--user-data-dir=" + profile], stdin=subprocess.DEVNULL,
            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, pass_fds=(3, 4),
            preexec_fn=on_fds_3_and_4,
            # its own temporary folders go into the profile, removed with it
            env={**os.environ, "TMPDIR": profile})
        os.close(to_browser)
        os.close(from_browser)
        self.buffer, self.next_id, self.events = b"", 0, []

    def send(self, method, session=None, **params):
        self.next_id += 1
        message = {"id": self.next_id, "method": method, "params": params}
        if session:
            message["sessionId"] = session
        os.write(self.out, json.dumps(message).encode() + b"\0")
        while True:
            reply = self.receive()
            if reply.get("id") == self.next_id:
                if "error" in reply:
                    raise RuntimeError(f"{method}: {reply['error']}")
                return reply["result"]
            self.events.append(reply)

    def receive(self, deadline=30.0):
        end = time.monotonic() + deadline
        while b"\0" not in self.buffer:
            ready, _, _ = select.select([self.inp], [], [], max(0.0, end - time.monotonic()))
            chunk = os.read(self.inp, 1 << 16) if ready else b""
            if not chunk:
                raise OSError("chromium did not answer")
            self.buffer += chunk
        message, self.buffer = self.buffer.split(b"\0", 1)
        return json.loads(message)

    def wait_for(self, method):
        while True:
            event = self.events.pop(0) if self.events else self.receive()
            if event.get("method") == method:
                return event

    def close(self):
        self.proc.kill()
        self.proc.wait()


def evaluate(browser, session, expression):
    result = browser.send("Runtime.evaluate", session, expression=expression,
                          returnByValue=True, awaitPromise=True)
    if "exceptionDetails" in result:
        raise RuntimeError(json.dumps(result["exceptionDetails"]))
    return result["result"].get("value")


# Keys that type no text, as Input.dispatchKeyEvent names them.
KEY_CODES = {"ArrowDown": 40, "ArrowUp": 38, "ArrowLeft": 37, "ArrowRight": 39, "PageDown": 34,
             "PageUp": 33, "Home": 36, "End": 35, "Enter": 13, "Escape": 27}


def press(browser, session, name):
    code = KEY_CODES.get(name, 0)
    text = {} if code else {"text": name}
    browser.send("Input.dispatchKeyEvent", session, type="keyDown", key=name,
                 windowsVirtualKeyCode=code, **text)
    browser.send("Input.dispatchKeyEvent", session, type="keyUp", key=name,
                 windowsVirtualKeyCode=code)


def peak_memory(browser):
    """The largest VmHWM among the browser's renderer processes (one renders the page)."""
    peak = 0
    for pid in filter(str.isdigit, os.listdir("/proc")):
        try:
            with open(f"/proc/{pid}/cmdline", "rb") as f:
                if b"--type=renderer" not in f.read():
                    continue
            with open(f"/proc/{pid}/status") as f:
                status = dict(line.split(":", 1) for line in f if ":" in line)
            parent = int(status["PPid"])
            while parent > 1 and parent != browser.proc.pid:
                with open(f"/proc/{parent}/status") as f:
                    parent = int(next(l for l in f if l.startswith("PPid:")).split()[1])
            if parent == browser.proc.pid:
                peak = max(peak, int(status["VmHWM"].split()[0]))
        except (OSError, KeyError, StopIteration, ValueError):
            continue
    return peak


def main():
    page, steps = os.path.abspath(sys.argv[2]), sys.argv[3:]
    profile = tempfile.mkdtemp(prefix="dirscribe-chromium-")
    try:
        try:
            browser = Browser(profile)
            target = browser.send("Target.createTarget", url="about:blank")["targetId"]
        except OSError as error:
            print(f"headless Chromium cannot start: {error}", file=sys.stderr)
            return 77
        session = browser.send("Target.attachToTarget", targetId=target,
                               flatten=True)["sessionId"]
        browser.send("Page.enable", session)
        for step in steps:
            if step.startswith("init:"):
                browser.send("Page.addScriptToEvaluateOnNewDocument", session, source=step[5:])
        browser.send("Page.navigate", session, url="file://" + page)
        browser.wait_for("Page.loadEventFired")
        for step in steps:
            kind, _, argument = step.partition(":")
            if kind == "type":
                for character in argument:
                    browser.send("Input.insertText", session, text=character)
            elif kind == "click":
                x, y = evaluate(browser, session, "(r => [r.x + r.width / 2, r.y + r.height / 2])"
                                f"(document.querySelector({json.dumps(argument)})"
                                ".getBoundingClientRect())")
                for event in ("mousePressed", "mouseReleased"):
                    browser.send("Input.dispatchMouseEvent", session, type=event, x=x, y=y,
                                 button="left", clickCount=1)
            elif kind == "key":
                press(browser, session, argument)
            elif kind == "eval":
                value = evaluate(browser, session, argument)
                if value is not None:
                    print(json.dumps(value, ensure_ascii=False), flush=True)
            elif kind == "shot":
                with open(argument, "wb") as f:
                    f.write(base64.b64decode(browser.send("Page.captureScreenshot", session)["data"]))
            elif kind == "peak":
                print(peak_memory(browser), flush=True)
            evaluate(browser, session, FRAMES)
        browser.close()
        return 0
    finally:
        shutil.rmtree(profile, ignore_errors=True)


if __name__ == "__main__":
    sys.exit(main())
