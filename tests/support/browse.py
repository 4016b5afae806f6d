#!/usr/bin/env python3
# SPDX-License-Identifier: MIT
# Opens a page in headless Chromium and acts on it as a person would, through the DevTools
# protocol on a pipe (no network port). Steps, in order:
#   type:TEXT   types TEXT into the focused element, key by key as text input
#   click:CSS   clicks the middle of the first element CSS selects, with the mouse
#   eval:JS     prints the value of JS (awaited when it is a promise) as one JSON line
# Each step waits for two frames to be drawn after it. Exits 77 when Chromium cannot start.
# usage: browse.py PROGRAM PAGE STEP...   (PROGRAM is ignored: the test runner passes it)
import json, os, select, shutil, subprocess, sys, tempfile, time

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
            preexec_fn=on_fds_3_and_4)
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
            elif kind == "eval":
                print(json.dumps(evaluate(browser, session, argument)), flush=True)
            evaluate(browser, session, FRAMES)
        browser.close()
        return 0
    finally:
        shutil.rmtree(profile, ignore_errors=True)


if __name__ == "__main__":
    sys.exit(main())
