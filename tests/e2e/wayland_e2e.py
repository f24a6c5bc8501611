#!/usr/bin/env python3
"""The real game on a real Wayland compositor: sway in its headless backend
(no GPU, pixman), run as an unprivileged user (sway refuses root) with a
runtime folder of its own, the screen read with grim. The game is started
with WAYLAND_DISPLAY alone (no DISPLAY), and once with a player's list of
video drivers in SDL_VIDEODRIVER: its preview is on the screen,
letterboxed, and SIGTERM ends it cleanly; on an output of scale 2 the frame
is drawn at the output's own pixels, not at half of them and blown up.

Input cannot be sent to a client of a headless sway that has no input
devices with Debian 12's tools (it packages neither wtype nor ydotool), so
input is tested through the fake platform and under Xvfb as before.
Exit status 0 when all checks hold."""

import argparse
import os
import pwd
import shutil
import signal
import struct
import subprocess
import sys
import tempfile
import time
import zlib

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import numpy as np  # noqa: E402
import vesk_e2e as v  # noqa: E402

failures = []
WIDTH, HEIGHT = 1280, 800  # the output, in pixels


def check(ok, what):
    print(("ok   " if ok else "FAIL ") + what, flush=True)
    if not ok:
        failures.append(what)


def read_png(path):
    """A PNG as grim writes it (8-bit RGB or RGBA, not interlaced) as rows of (red, green, blue)."""
    with open(path, "rb") as f:
        data = f.read()
    at, chunks, head = 8, [], None
    while at < len(data):
        size, kind = struct.unpack(">I4s", data[at:at + 8])
        body = data[at + 8:at + 8 + size]
        if kind == b"IHDR":
            head = struct.unpack(">IIBBBBB", body)
        elif kind == b"IDAT":
            chunks.append(body)
        at += 12 + size
    width, height, depth, colour = head[0], head[1], head[2], head[3]
    if depth != 8 or colour not in (2, 6) or head[6] != 0:
        raise RuntimeError("png: depth %d colour type %d" % (depth, colour))
    channels = 3 if colour == 2 else 4
    raw = np.frombuffer(zlib.decompress(b"".join(chunks)), dtype=np.uint8)
    stride = width * channels
    rows = raw.reshape(height, stride + 1)
    out = np.zeros((height, stride), dtype=np.int64)
    previous = np.zeros(stride, dtype=np.int64)
    for y in range(height):
        kind, line = rows[y, 0], rows[y, 1:].astype(np.int64)
        if kind == 0:
            cur = line
        elif kind == 2:
            cur = (line + previous) & 0xFF
        else:
            cur = np.zeros(stride, dtype=np.int64)
            for x in range(stride):
                a = cur[x - channels] if x >= channels else 0
                b = previous[x]
                c = previous[x - channels] if x >= channels else 0
                if kind == 1:
                    p = a
                elif kind == 3:
                    p = (a + b) // 2
                else:
                    pa, pb, pc = abs(b - c), abs(a - c), abs(a + b - 2 * c)
                    p = a if pa <= pb and pa <= pc else (b if pb <= pc else c)
                cur[x] = (line[x] + p) & 0xFF
        out[y] = cur
        previous = cur
    return out.reshape(height, width, channels)[:, :, :3]


class Sway:
    """sway, headless, on a runtime folder of its own: as the user nobody
    when the test runs as root (sway refuses root), else as the test's user."""

    def __init__(self, root, scale):
        self.runtime = tempfile.mkdtemp(prefix="vesk-wayland-", dir=root)
        as_root = os.geteuid() == 0
        if as_root:
            user = pwd.getpwnam("nobody")
            os.chown(self.runtime, user.pw_uid, user.pw_gid)
        os.chmod(self.runtime, 0o700)
        config = os.path.join(root, "sway-%d.conf" % scale)
        with open(config, "w") as f:
            f.write("output HEADLESS-1 resolution %dx%d scale %d\n" % (WIDTH, HEIGHT, scale))
        os.chmod(config, 0o644)
        env = {"PATH": "/usr/sbin:/usr/bin:/bin", "XDG_RUNTIME_DIR": self.runtime, "WLR_BACKENDS": "headless",
               "WLR_LIBINPUT_NO_DEVICES": "1", "WLR_RENDERER": "pixman"}
        command = ["sway", "-c", config]
        self.proc = subprocess.Popen((["runuser", "-u", "nobody", "--"] if as_root else []) + command, env=env,
                                     stdout=subprocess.DEVNULL, stderr=subprocess.PIPE)
        self.socket = None
        deadline = time.monotonic() + 20
        while time.monotonic() < deadline and self.proc.poll() is None:
            names = sorted(n for n in os.listdir(self.runtime) if n.startswith("wayland-") and "." not in n)
            if names:
                self.socket = names[0]
                break
            time.sleep(0.05)
        if not self.socket:
            self.stop()
            raise RuntimeError("sway did not start: %s" % self.proc.stderr.read().decode(errors="replace")[-2000:])

    def env(self):
        env = {k: val for k, val in os.environ.items() if k not in ("DISPLAY", "WAYLAND_DISPLAY", "SDL_VIDEODRIVER")}
        env.update(XDG_RUNTIME_DIR=self.runtime, WAYLAND_DISPLAY=self.socket)
        return env

    def screen(self, path):
        subprocess.run(["grim", path], env=self.env(), check=True, timeout=30, capture_output=True)
        return read_png(path)

    def stop(self):
        if self.proc.poll() is None:
            self.proc.terminate()
            try:
                self.proc.wait(timeout=10)
            except subprocess.TimeoutExpired:
                self.proc.kill()
                self.proc.wait()
        shutil.rmtree(self.runtime, ignore_errors=True)


def fine_picture(folder):
    """A preview picture of one-pixel detail, which a frame drawn at half
    the output's pixels and blown up would lose."""
    v.write_bmp(os.path.join(folder, "Tex", "Tiger.Tex"), 500, 500,
                lambda x, y: (255, 255, 255) if (x + y) % 2 == 0 else ((x * 7) % 256, 40, (y * 5) % 256))


def run_game(game_path, root, scale, name, drivers=None):
    """The screen of a game showing its preview on sway at `scale`, or None;
    `drivers`: the player's SDL_VIDEODRIVER, if any."""
    folder = v.make_game_folder(root)
    fine_picture(folder)
    sway = Sway(root, scale)
    try:
        env = dict(sway.env(), SDL_AUDIODRIVER="dummy", VESK_NO_MESSAGE_BOX="1")
        if drivers:
            env["SDL_VIDEODRIVER"] = drivers
        env["ASAN_OPTIONS"] = (env.get("ASAN_OPTIONS", "") + ":detect_leaks=0").lstrip(":")
        game = subprocess.Popen([v.game_in(folder, game_path)], cwd=folder, env=env,
                                stdout=subprocess.PIPE, stderr=subprocess.PIPE)
        try:
            background = np.array(v.shown(v.BACKGROUND)[::-1])
            border = np.array(v.shown(v.BORDER)[::-1])
            bx, by, bw, bh = (WIDTH - HEIGHT * 4 // 3) // 2, 0, HEIGHT * 4 // 3, HEIGHT
            sidebar = (by + int(590.5 * bh / 600), bx + int(780.5 * bw / 800))  # frame (780, 590)
            frame_edge = (by + int(300.5 * bh / 600), bx + int(47.5 * bw / 800))  # frame (47, 300)

            def looks(screen):
                return (screen.shape[:2] == (HEIGHT, WIDTH),
                        np.abs(screen[sidebar] - background).max() <= 2,
                        np.abs(screen[frame_edge] - border).max() <= 2,
                        screen[:, :bx - 1].max() == 0 and screen[:, bx + bw + 1:].max() == 0)

            # The preview on the whole output, its pointer standing still
            # (nothing moves it here): until two screens in a row show it (the
            # window turns full screen after its first frame).
            deadline = time.monotonic() + 40
            screen, settled = None, 0
            while time.monotonic() < deadline and game.poll() is None and settled < 2:
                time.sleep(0.5)
                screen = sway.screen(os.path.join(root, "%s.png" % name))
                settled = settled + 1 if all(looks(screen)) else 0
            check(game.poll() is None, "%s: the game runs (%s)" % (
                name, game.stderr.read().decode(errors="replace") if game.poll() is not None else "running"))
            if screen is None:
                return None
            size, side, edge, bars = looks(screen)
            check(size, "%s: the screen is %dx%d" % (name, WIDTH, HEIGHT))
            if not size:
                return None
            check(side, "%s: the preview's sidebar on the screen (%s)" % (name, screen[sidebar]))
            check(edge, "%s: the picture's border on the screen" % name)
            check(bars, "%s: letterboxed, black bars left and right of the 4:3 frame" % name)
            game.send_signal(signal.SIGTERM)
            try:
                rc = game.wait(timeout=15)
            except subprocess.TimeoutExpired:
                rc = None
            check(rc == 0, "%s: SIGTERM ends the game with 0 (%s)" % (name, rc))
            return screen
        finally:
            if game.poll() is None:
                game.kill()
                game.wait()
    finally:
        sway.stop()
        v.remove_folder(folder)


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--game", required=True)
    args = parser.parse_args()
    game_path = os.path.abspath(args.game)
    with tempfile.TemporaryDirectory(prefix="vesk-wayland-") as root:
        os.chmod(root, 0o755)
        one = run_game(game_path, root, 1, "wayland, scale 1")
        # A list of drivers, the first of which finds no X server here.
        two = run_game(game_path, root, 2, "wayland, scale 2, SDL_VIDEODRIVER=x11,wayland", drivers="x11,wayland")
    if one is not None and two is not None:
        # The same output pixels at both scales: at scale 2 the frame is
        # drawn at all of them. Drawn at half and blown up it would differ
        # from the scale-1 screen by the detail lost.
        board = (slice(60, 740), slice(150, 860))  # the picture on the board
        sharp = np.abs(two[board] - one[board]).mean()
        half = one[::2, ::2].repeat(2, axis=0).repeat(2, axis=1)
        blurred = np.abs(half[board] - one[board]).mean()
        check(sharp < blurred / 4, "wayland, scale 2: the frame at the output's full resolution "
              "(mean difference from scale 1: %.2f; halved and blown up: %.2f)" % (sharp, blurred))
    if failures:
        print("%d check(s) failed" % len(failures))
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main())
