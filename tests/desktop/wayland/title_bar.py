#!/usr/bin/python3
# SPDX-FileCopyrightText: 2026 Kestrow
# SPDX-License-Identifier: MIT
"""The calculator as a native Wayland client of weston: its application id is
its menu entry's name, and nothing on its title bar (drawn by Qt itself)
maximizes it or ends it with a protocol error. Every point along the right
half of the title bar is clicked; a click that minimizes or closes the window
starts the program again, and the sweep goes on.

Usage: title_bar.py XPCALC DESKTOP_ENTRY
Run on an X desktop (tools/desktop_session.sh): weston runs nested in it.
"""
import os
import re
import subprocess
import sys
import tempfile
import time

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.dirname(HERE))
sys.dont_write_bytecode = True  # no cache of the shared module in the source tree
from desktop_test import report  # noqa: E402

OUTPUT = (800, 600)


def screen():
    """The nested output as rows of RGB bytes."""
    ppm = subprocess.run(["import", "-window", "root", "-crop", "%dx%d+0+0" % OUTPUT, "-depth", "8", "ppm:-"],
                         check=True, capture_output=True).stdout
    header = re.match(rb"P6\s+(\d+)\s+(\d+)\s+255\s", ppm)
    width, height = int(header.group(1)), int(header.group(2))
    pixels = ppm[header.end():]
    return [pixels[y * width * 3:(y + 1) * width * 3] for y in range(height)]


def window_box():
    """Left, top, right and bottom of the one window on the black output,
    or None; a stray pointer is too small to count."""
    rows = [y for y, row in enumerate(screen()) if len(row.replace(b"\0", b"")) > 300]
    if not rows:
        return None
    columns = []
    for row in screen()[rows[0]:rows[-1] + 1]:
        inked = row.strip(b"\0")
        if inked:
            left = (len(row) - len(row.lstrip(b"\0"))) // 3
            columns += [left, left + len(inked) // 3 - 1]
    return min(columns), rows[0], max(columns), rows[-1]


def point_at(client, x, y, seconds=5):
    """Puts weston's pointer at a point of the X screen, and returns what the
    client heard meanwhile. weston follows the X pointer by its motion
    events, which a warp alone does not make, and may miss the first."""
    heard = ""
    deadline = time.monotonic() + seconds
    while True:
        # In from outside weston's window: it takes the pointer in on entry.
        subprocess.run(["xdotool", "mousemove", str(OUTPUT[0] + 10), str(OUTPUT[1] + 10)], check=True)
        time.sleep(0.05)
        subprocess.run(["xdotool", "mousemove", str(x), str(y - 1)], check=True)
        time.sleep(0.05)
        subprocess.run(["xdotool", "mousemove_relative", "0", "1"], check=True)
        time.sleep(0.1)
        heard += client.news()
        if re.search(r"wl_pointer@\d+\.motion\(", heard) or time.monotonic() > deadline:
            return heard


class Client:
    def __init__(self, xpcalc, environment, folder):
        self.log = tempfile.NamedTemporaryFile("w+", suffix=".log", dir=folder, delete=False).name
        with open(self.log, "w") as log:
            self.process = subprocess.Popen([xpcalc], env=environment, stdout=log, stderr=log)
        self.read = 0

    def news(self):
        with open(self.log, encoding="utf-8", errors="replace") as log:
            text = log.read()
        new, self.read = text[self.read:], len(text)
        return new

    def stop(self):
        if self.process.poll() is None:
            self.process.terminate()
            self.process.wait(10)


def wait_for_window(client, seconds=20):
    deadline = time.monotonic() + seconds
    while time.monotonic() < deadline:
        if client.process.poll() is not None:
            return None
        box = window_box()
        if box is not None:
            time.sleep(0.5)  # drawn in full
            return window_box()
        time.sleep(0.2)
    return None


def main():
    xpcalc, entry = sys.argv[1:3]
    failures = []
    runtime = tempfile.mkdtemp()
    os.chmod(runtime, 0o700)
    environment = dict(os.environ, XDG_RUNTIME_DIR=runtime)
    weston = subprocess.Popen(["weston", "--config=" + os.path.join(HERE, "weston.ini"), "--backend=x11-backend.so",
                               "--width=%d" % OUTPUT[0], "--height=%d" % OUTPUT[1], "--socket=wayland-xpcalc"],
                              env=environment, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    socket = os.path.join(runtime, "wayland-xpcalc")
    for _ in range(100):
        if os.path.exists(socket):
            break
        time.sleep(0.1)
    client_environment = dict(environment, WAYLAND_DISPLAY="wayland-xpcalc", QT_QPA_PLATFORM="wayland",
                              WAYLAND_DEBUG="client")
    # Under the sanitizers: what the Wayland client library and the GL driver
    # still hold when the close button ends the program is theirs, not a leak
    # of ours, and ending that way is what this test expects.
    if "ASAN_OPTIONS" in environment:
        client_environment["ASAN_OPTIONS"] = environment["ASAN_OPTIONS"] + ":detect_leaks=0"
    client = None
    try:
        if not os.path.exists(socket):
            sys.exit("weston did not start")
        client = Client(xpcalc, client_environment, runtime)
        box = wait_for_window(client)
        if box is None:
            sys.exit(f"the calculator did not show on weston:\n{client.news()[-2000:]}")
        protocol = client.news()
        app_id = re.search(r'set_app_id\("([^"]*)"\)', protocol)
        expected = os.path.basename(entry).removesuffix(".desktop")
        if not app_id or app_id.group(1) != expected:
            failures.append(f"the application id is {app_id and app_id.group(1)!r}, not {expected!r}")

        asked, restarts = 0, 0
        width = box[2] - box[0]
        for along in range(width // 2, width + 1, 3):
            said = point_at(client, box[0] + along, box[1] + 10)  # in the title bar
            subprocess.run(["xdotool", "click", "1"], check=True)
            time.sleep(0.3)
            said += client.news()
            if "set_maximized" in said:
                asked += 1
                time.sleep(1.5)
                said += client.news()
                if client.process.poll() is None and window_box() != box:
                    failures.append(f"a click at {along} px along the title bar maximized the calculator")
                    break
            ended = client.process.poll()
            if ended not in (None, 0) or "Protocol error" in said:
                failures.append(f"a click at {along} px along the title bar ended the program "
                                f"with status {ended}: {said[-600:]}")
                break
            if ended == 0 or "set_minimized" in said:
                client.stop()
                client = Client(xpcalc, client_environment, runtime)
                restarts += 1
                box = wait_for_window(client)
                if box is None:
                    failures.append("the calculator did not start again")
                    break
        print(f"title bar swept: maximize asked for {asked} times and refused; "
              f"the program was started again {restarts} times after a minimize or close")
    finally:
        if client:
            client.stop()
        weston.terminate()
        weston.wait(10)
    return report("wayland title bar", failures, runtime, f"the program's Wayland protocol logs: {runtime}")


if __name__ == "__main__":
    sys.exit(main())
