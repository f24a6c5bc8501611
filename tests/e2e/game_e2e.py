#!/usr/bin/env python3
"""The real game under Xvfb, driven by xdotool as a player would: click
Shuffle, hold F9, press Escape; a board solved with the arrow keys; a SIGTERM; a click through the letterbox of
a 1280x1024 screen; and the start-ups that fail. Exit status 0 when all
checks hold."""

import argparse
import glob
import os
import signal
import struct
import subprocess
import sys
import tempfile
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import vesk_e2e as v  # noqa: E402

failures = []


def check(ok, what):
    print(("ok   " if ok else "FAIL ") + what, flush=True)
    if not ok:
        failures.append(what)


def pixel(data, x, y):
    """Blue, green, red of frame pixel (x, y) in an 800x600 capture."""
    at = 54 + (599 - y) * 2400 + 3 * x
    return tuple(data[at:at + 3])


def captures(folder):
    return sorted(glob.glob(os.path.join(folder, "GAME*.bmp")),
                  key=lambda p: int(os.path.basename(p)[4:-4]))


def check_capture_header(data, name):
    check(len(data) == 1440054, "%s is 1440054 bytes (%d)" % (name, len(data)))
    if len(data) < 54:
        return
    file_header = struct.unpack("<2sIHHI", data[:14])
    check(file_header == (b"BM", 1440054, 0, 0, 54), "%s file header %r" % (name, file_header))
    info = struct.unpack("<IiiHHIIiiII", data[14:54])
    check(info == (40, 800, 600, 1, 24, 0, 1440000, 0, 0, 0, 0), "%s bitmap header %r" % (name, info))


def cell_colours(data):
    """The colours at the middle of the four cells of the 2 x 2 board."""
    return {pixel(data, 52 + c * 250 + 125, 52 + r * 250 + 125) for r in range(2) for c in range(2)}


DEALT = {v.shown(v.HOLLOW), v.shown(v.QUARTERS[1]), v.shown(v.QUARTERS[2]), v.shown(v.QUARTERS[3])}


def play(game_path, root, figures):
    """Shuffle, F9, Escape on an 800x600 screen."""
    folder = v.make_game_folder(root)
    with v.Xvfb(800, 600) as x:
        g = v.Game(game_path, folder, x)
        try:
            figures["start to window shown (ms)"] = 1000 * g.wait_for_window()
            time.sleep(0.4)
            g.move(692, 123)  # the middle of Shuffle
            time.sleep(0.3)
            g.click()
            time.sleep(0.4)
            figures["CPU on a still screen (% of one core)"] = g.cpu_percent(3.0)
            check(g.proc.poll() is None, "the game runs after the click")
            g.hold_key("F9", 0.12)
            time.sleep(0.3)
            files = captures(folder)
            check(len(files) >= 1, "holding F9 wrote captures (%d)" % len(files))
            names = [os.path.basename(p) for p in files]
            check(names == ["GAME%d.bmp" % i for i in range(len(names))], "numbered from 0: %s" % names)
            if files:
                with open(files[0], "rb") as f:
                    data = f.read()
                check_capture_header(data, "GAME0.bmp")
                if len(data) == 1440054:
                    check(pixel(data, 780, 590) == v.shown(v.BACKGROUND), "sidebar background at (780, 590)")
                    check(pixel(data, 47, 300) == v.shown(v.BORDER), "border at (47, 300)")
                    check(pixel(data, 301, 100) == v.shown(v.BORDER), "the gap between tiles at (301, 100)")
                    check(cell_colours(data) == DEALT, "a dealt board: blank and three tiles %s" % cell_colours(data))
                    check(pixel(data, 640, 105) == v.shown(v.MENU_HOVERED), "Shuffle drawn hovered")
                    check(pixel(data, 634, 180) == v.shown(v.MENU_NORMAL), "Tile drawn normal")
                    check(pixel(data, 694, 125) == v.shown(v.POINTER), "the pointer at the mouse (692, 123)")
            g.hold_key("Escape", 0.12)
            check(g.wait(10) == 1, "Escape ends the game with 1 (%s)" % g.proc.returncode)
        finally:
            g.kill()
    v.remove_folder(folder)


def arrow_keys(game_path, root):
    """The 2 x 2 deal of the test folder, blank bottom right, solved with taps
    of the arrow keys, the mouse resting on the sidebar; a move on the way
    taken back with Ctrl+Z (without the undo the board stays unsolved)."""
    folder = v.make_game_folder(root)
    with v.Xvfb(800, 600) as x:
        g = v.Game(game_path, folder, x)
        try:
            g.wait_for_window()
            time.sleep(0.4)
            g.move(692, 123)  # the middle of Shuffle
            time.sleep(0.3)
            g.click()
            time.sleep(0.4)
            g.move(700, 560)
            time.sleep(0.2)
            # Right slides the bottom-left tile right and Ctrl+Z takes it back;
            # then Down: the tile above the blank comes down; Right: the tile
            # left of it goes right.
            for key in ("Right", "ctrl+z", "Down", "Right"):
                g.xdotool("key", key)
                time.sleep(0.3)
            g.hold_key("F9", 0.06)
            time.sleep(0.3)
            files = captures(folder)
            check(len(files) >= 1, "arrows: a capture of the solved page")
            if files:
                with open(files[0], "rb") as f:
                    data = f.read()
                if len(data) == 1440054:
                    check(pixel(data, 140, 130) == v.shown((250, 250, 0)), "arrows: the won banner is shown")
                    check(pixel(data, 427, 427) == v.shown(v.QUARTERS[3]), "arrows: the whole picture is shown")
            with open(os.path.join(folder, "ScoreFile.txt")) as f:
                first = f.readline().split()
            check(len(first) == 2 and first[0] == "2" and int(first[1]) < 60,
                  "arrows: a 2 x 2 best time recorded (%s)" % first)
            check(g.proc.poll() is None, "arrows: the game runs on")
            g.proc.send_signal(signal.SIGTERM)
            g.wait(10)
        finally:
            g.kill()
    v.remove_folder(folder)


# The player's picture: its centre square in four quarters, bands beside it.
OWN = [(200, 100, 20), (20, 100, 200), (120, 20, 160), (230, 230, 230)]
OWN_BANDS = (250, 0, 250)


def own_pixel(x, y):
    if x < 100 or x >= 700:
        return OWN_BANDS
    return OWN[(y >= 300) * 2 + (x >= 400)]


def latest_capture(folder, before):
    files = captures(folder)
    if len(files) <= before:
        return len(files), b""
    with open(files[-1], "rb") as f:
        return len(files), f.read()


def own_picture(game_path, root):
    """A PNG in the pictures folder, chosen on the options page (a page of the
    row to the right), dealt at 2 x 2 and solved. A text file named .png
    beside it is skipped with its line on stderr."""
    folder = v.make_game_folder(root)
    v.write_png(os.path.join(folder, "Pictures", "Mine.png"), 800, 600, own_pixel)
    with open(os.path.join(folder, "Pictures", "Broken.png"), "w") as f:
        f.write("not a picture\n")
    with v.Xvfb(800, 600) as x:
        g = v.Game(game_path, folder, x)
        try:
            g.wait_for_window()
            time.sleep(0.4)
            for point in [(692, 356),   # Options
                          (785, 370),   # the right arrow: Bird, Flower, Mine
                          (700, 370),   # the third slot: Mine
                          (400, 480),   # Back, to the preview of Mine
                          (692, 123)]:  # Shuffle: the canned deal 1 3 / 2 blank
                g.move(*point)
                time.sleep(0.3)
                g.click()
                time.sleep(0.4)
            g.move(780, 590)
            time.sleep(0.3)
            g.hold_key("F9", 0.06)
            time.sleep(0.3)
            count, data = latest_capture(folder, 0)
            check(len(data) == 1440054, "own picture: a capture of the dealt board")
            if len(data) == 1440054:
                cells = [pixel(data, 52 + c * 250 + 125, 52 + r * 250 + 125) for r in range(2) for c in range(2)]
                want = [v.shown(OWN[1]), v.shown(OWN[3]), v.shown(OWN[2])]
                check(cells[:3] == want, "own picture: its tiles dealt %s" % cells)
                check(max(cells[3]) < 110, "own picture: a dark blank slot %s" % (cells[3],))
                check(pixel(data, 705, 80) == v.shown(OWN[3]), "own picture: its thumbnail in the sidebar")
            for cell in [(427, 177), (177, 177)]:  # two moves bring it home
                g.move(*cell)
                time.sleep(0.3)
                g.click()
                time.sleep(0.4)
            g.hold_key("F9", 0.06)
            time.sleep(0.3)
            count, data = latest_capture(folder, count)
            check(len(data) == 1440054, "own picture: a capture of the solved page")
            if len(data) == 1440054:
                check(pixel(data, 140, 130) == v.shown((250, 250, 0)), "own picture: solved")
                corners = [pixel(data, 60, 60), pixel(data, 540, 60), pixel(data, 60, 540), pixel(data, 540, 540)]
                check(corners == [v.shown(c) for c in OWN], "own picture: shown whole, its centre square %s" % corners)
            with open(os.path.join(folder, "ScoreFile.txt")) as f:
                first = f.readline().split()
            check(first[0] == "2" and int(first[1]) < 60, "own picture: a best time at 2 x 2 %s" % first)
            g.hold_key("Escape", 0.12)
            check(g.wait(10) == 1, "own picture: Escape ends the game")
            err = g.stderr()
            check("Broken.png skipped: it is not a PNG, JPEG or BMP image" in err, "own picture: the bad file named")
            check("Mine.png" not in err, "own picture: nothing said of the good one")
        finally:
            g.kill()
    v.remove_folder(folder)


def terminate(game_path, root, sig):
    folder = v.make_game_folder(root)
    with v.Xvfb(800, 600) as x:
        g = v.Game(game_path, folder, x)
        try:
            g.wait_for_window()
            time.sleep(0.3)
            g.proc.send_signal(sig)
            rc = g.wait(10)
            check(rc == 0, "%s ends the game with 0 (%s)" % (signal.Signals(sig).name, rc))
        finally:
            g.kill()
    v.remove_folder(folder)


def letterbox(game_path, root):
    """On 1280x1024 the frame is 1280x960 with bars of 32 above and below;
    frame (691, 145), just inside the bottom of Shuffle, is screen (1107, 264).
    Stretched or unscaled, that screen point would miss the button."""
    folder = v.make_game_folder(root)
    with v.Xvfb(1280, 1024) as x:
        g = v.Game(game_path, folder, x)
        try:
            g.wait_for_window()
            time.sleep(0.4)
            g.move(1107, 264)
            time.sleep(0.3)
            g.click()
            time.sleep(0.4)
            g.hold_key("F9", 0.06)
            time.sleep(0.3)
            files = captures(folder)
            check(len(files) >= 1, "1280x1024: a capture")
            if files:
                with open(files[0], "rb") as f:
                    data = f.read()
                check_capture_header(data, "1280x1024 GAME0.bmp")
                if len(data) == 1440054:
                    check(cell_colours(data) == DEALT, "1280x1024: the click on Shuffle dealt a board")
                    check(pixel(data, 693, 147) == v.shown(v.POINTER), "1280x1024: the pointer at frame (691, 145)")
            g.proc.send_signal(signal.SIGTERM)
            g.wait(10)
        finally:
            g.kill()
    v.remove_folder(folder)


def failed_start(game_path, root):
    # No display at all: the first display step fails.
    folder = v.make_game_folder(root)
    env = dict(os.environ, SDL_VIDEODRIVER="x11", VESK_NO_MESSAGE_BOX="1", SDL_AUDIODRIVER="dummy")
    env.pop("DISPLAY", None)
    env.pop("WAYLAND_DISPLAY", None)
    env["ASAN_OPTIONS"] = (env.get("ASAN_OPTIONS", "") + ":detect_leaks=0").lstrip(":")
    run = subprocess.run([game_path], cwd=folder, env=env, capture_output=True, text=True, timeout=20)
    check(run.returncode == 255, "no display: status -1 (%d)" % run.returncode)
    check("InitDirectDraw failed: DirectDraw create failed" in run.stderr, "no display: the message")

    with v.Xvfb(800, 600) as x:
        os.remove(os.path.join(folder, "Tex", "Menu", "Exit.Tex"))
        g = v.Game(game_path, folder, x)
        rc = g.wait(20)
        err = g.stderr()
        check(rc == 255, "no Exit.Tex: status -1 (%d)" % rc)
        check("DirectDraw: Can't Load Tex\\Menu\\Exit.Tex! Game is Exiting!!" in err, "no Exit.Tex: the message")

    v.remove_folder(folder)
    folder = v.make_game_folder(root)
    with v.Xvfb(800, 600) as x:
        os.remove(os.path.join(folder, "Audio", "BkGnd.mus"))
        g = v.Game(game_path, folder, x)
        rc = g.wait(20)
        err = g.stderr()
        check(rc == 0, "no music: status 0 (%d)" % rc)
        check("BkGnd Music: BkGnd.mus not found,  Program will now quit" in err, "no music: the message")
    v.remove_folder(folder)


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--game", required=True)
    args = parser.parse_args()
    game_path = os.path.abspath(args.game)
    figures = {}
    with tempfile.TemporaryDirectory(prefix="vesk-e2e-") as root:
        play(game_path, root, figures)
        own_picture(game_path, root)
        arrow_keys(game_path, root)
        terminate(game_path, root, signal.SIGTERM)
        terminate(game_path, root, signal.SIGINT)
        letterbox(game_path, root)
        failed_start(game_path, root)
    for name, value in figures.items():
        print("figure: %s: %.1f" % (name, value))
    # A wait that spins holds a whole core; the sleeping wait stays far below.
    cpu = figures.get("CPU on a still screen (% of one core)")
    if cpu is not None:
        check(cpu < 50.0, "the frame wait sleeps (CPU %.1f %%)" % cpu)
    if failures:
        print("%d check(s) failed" % len(failures))
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main())
