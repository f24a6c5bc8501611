#!/usr/bin/env python3
"""The real game under Xvfb, driven by xdotool as a player would: click
Shuffle, hold F9, press Escape; a board solved with the arrow keys; a whole
game with the keyboard alone; a SIGTERM; a game kept at a SIGTERM and resumed; a click through the letterbox of a 1280x1024 screen; the X screen
itself (xwd) against the frame after pointer moves, a hover and a clock
tick, with no GL library loaded; and the start-ups that fail. Exit status 0
when all checks hold."""

import argparse
import glob
import os
import re
import shutil
import signal
import struct
import subprocess
import sys
import tempfile
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import numpy as np  # noqa: E402
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
            check(len(files) == 1, "F9 held for a while wrote one capture (%d)" % len(files))
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
                    check(pixel(data, 641, 111) == v.shown(v.MENU_HOVERED), "Shuffle drawn hovered")
                    check(pixel(data, 641, 188) == v.shown(v.MENU_NORMAL), "Tile drawn normal")
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
                    check(pixel(data, 520, 470) == v.shown(v.QUARTERS[3]), "arrows: the whole picture is shown (beside the par line)")
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


def keyboard_alone(game_path, root):
    """A whole game without the mouse: Tab and Enter deal the test folder's
    2 x 2 deal (blank bottom right), Escape held on the options page goes back
    to the board and the game goes on, two arrows solve it, Tab and Enter take
    Shuffle Again and, at last, Exit."""
    folder = v.make_game_folder(root)
    with v.Xvfb(800, 600) as x:
        g = v.Game(game_path, folder, x)
        try:
            g.wait_for_window()
            time.sleep(0.4)

            def shot(what):
                before = len(captures(folder))
                g.hold_key("F9", 0.2)
                time.sleep(0.3)
                count, data = latest_capture(folder, before)
                check(count == before + 1 and len(data) == 1440054, "keyboard: one capture of %s" % what)
                return data if len(data) == 1440054 else None

            g.xdotool("key", "Tab", "Return")  # Shuffle
            time.sleep(0.4)
            data = shot("the deal")
            if data:
                check(cell_colours(data) == DEALT, "keyboard: Tab, Enter dealt a board")
                check(pixel(data, 641, 111) == v.shown(v.MENU_HOVERED), "keyboard: Shuffle shows the focus")
            g.xdotool("key", "Tab", "Tab", "Tab", "Return")  # Tile, Best Times, Options
            time.sleep(0.4)
            g.hold_key("Escape", 0.3)
            time.sleep(0.3)
            check(g.proc.poll() is None, "keyboard: Escape held on the options page does not end the game")
            data = shot("the board after Escape")
            if data:
                check(cell_colours(data) == DEALT, "keyboard: Escape went back to the board as it was")
            for key in ("Down", "Right"):
                g.xdotool("key", key)
                time.sleep(0.3)
            data = shot("the solved page")
            if data:
                check(pixel(data, 140, 130) == v.shown((250, 250, 0)), "keyboard: solved with the arrows")
            g.xdotool("key", "Tab", "Return")  # Shuffle Again
            time.sleep(0.4)
            data = shot("the next preview")
            if data:
                check(pixel(data, 140, 130) == v.shown(v.QUARTERS[0]), "keyboard: Shuffle Again shows the next picture")
            with open(os.path.join(folder, "ScoreFile.txt")) as f:
                first = f.readline().split()
            check(len(first) == 2 and first[0] == "2" and int(first[1]) < 60,
                  "keyboard: a 2 x 2 best time recorded (%s)" % first)
            g.xdotool("key", *["Tab"] * 6, "Return")  # Exit
            check(g.wait(10) == 1, "keyboard: Tab to Exit and Enter ends the game with 1 (%s)" % g.proc.returncode)
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


# The lying files among the own-picture fuzz target's seeds.
FUZZ_PICTURES = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "fuzz", "corpus", "own")
LYING_FILES = ["core-header-cut-at-25-bytes.bmp", "8192-square-no-rows.bmp", "8192-square-one-row.png",
               "frame-patched-to-65500.jpg", "600-empty-scans.jpg"]


def own_picture(game_path, root):
    """A PNG in the pictures folder, chosen on the options page (a page of the
    row to the right), dealt at 2 x 2 and solved. A text file named .png
    beside it is skipped with its line on stderr."""
    folder = v.make_game_folder(root)
    v.write_png(os.path.join(folder, "Pictures", "Mine.png"), 800, 600, own_pixel)
    with open(os.path.join(folder, "Pictures", "Broken.png"), "w") as f:
        f.write("not a picture\n")
    # Files that lie about themselves, each refused (a sanitizer build checks
    # the game leaks nothing of them).
    for name in LYING_FILES:
        shutil.copy(os.path.join(FUZZ_PICTURES, name), os.path.join(folder, "Pictures", name))
    with v.Xvfb(800, 600) as x:
        g = v.Game(game_path, folder, x)
        try:
            g.wait_for_window()
            time.sleep(0.4)
            for point in [(692, 356),   # Options
                          (584, 425),   # the right arrow: Bird, Flower, Mine
                          (567, 370),   # the third slot: Mine
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
            check("Broken.png skipped: it is not a PNG, JPEG, WebP or BMP image" in err, "own picture: the bad file named")
            for name in LYING_FILES:
                check(name + " skipped: " in err, "own picture: %s named as skipped" % name)
            check("LeakSanitizer" not in err, "own picture: no leak")
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


def kept_game(game_path, root):
    """A dealt board, then SIGTERM: the game is saved; the next start opens on
    its tile view, and Resume brings back the board as it was."""
    folder = v.make_game_folder(root)
    saved = os.path.join(folder, "SavedGame.txt")
    with v.Xvfb(800, 600) as x:
        g = v.Game(game_path, folder, x)
        try:
            g.wait_for_window()
            time.sleep(0.4)
            g.move(692, 123)  # Shuffle: the canned deal 1 3 / 2 blank
            time.sleep(0.3)
            g.click()
            time.sleep(0.4)
            g.move(780, 590)
            g.proc.send_signal(signal.SIGTERM)
            check(g.wait(10) == 0, "kept: SIGTERM ends the game with 0")
        finally:
            g.kill()
        check(os.path.exists(saved), "kept: SIGTERM on a dealt board saves it")
        g = v.Game(game_path, folder, x)
        try:
            g.wait_for_window()
            time.sleep(0.6)
            shots, count = [], 0
            for step in ("F9", "Resume", "F9"):
                if step == "Resume":
                    g.move(685, 200)
                    time.sleep(0.3)
                    g.click()
                    time.sleep(0.3)
                    g.move(780, 590)
                    time.sleep(0.2)
                    continue
                g.hold_key("F9", 0.06)
                time.sleep(0.3)
                count, data = latest_capture(folder, count)
                shots.append(data)
            home = [v.shown(c) for c in (v.HOLLOW, v.QUARTERS[1], v.QUARTERS[2], v.QUARTERS[3])]
            dealt = [v.shown(c) for c in (v.QUARTERS[1], v.QUARTERS[3], v.QUARTERS[2], v.HOLLOW)]
            for data, want, what in zip(shots, (home, dealt), ("the tile view", "the board as it was")):
                cells = [pixel(data, 52 + c * 250 + 125, 52 + r * 250 + 125) for r in range(2) for c in range(2)] \
                    if len(data) == 1440054 else []
                check(cells == want, "kept: the next start shows %s %s" % (what, cells))
            g.hold_key("Escape", 0.12)
            check(g.wait(10) == 1, "kept: Escape ends the resumed game")
        finally:
            g.kill()
        check(os.path.exists(saved), "kept: Escape keeps it again")
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


# Libraries of a GL stack: the GL and EGL dispatchers, Mesa's drivers, LLVM.
GL_LIBRARY = re.compile(r"/(lib(GL|GLX|GLX_mesa|GLdispatch|OpenGL|EGL|EGL_mesa|GLESv1_CM|GLESv2|glapi|gallium|LLVM)"
                        r"[-.][^/]*|[^/]*_dri\.so[^/]*)$")


def gl_libraries(pid):
    with open("/proc/%d/maps" % pid) as f:
        paths = {line.split(None, 5)[5].strip() for line in f if len(line.split(None, 5)) == 6}
    return sorted(p for p in paths if GL_LIBRARY.search(p))


def xwd_screen(x):
    """The X screen as rows of (red, green, blue), read by xwd."""
    data = subprocess.run(["xwd", "-root", "-silent"], env=x.env(), capture_output=True, check=True,
                          timeout=30).stdout
    head = struct.unpack(">25I", data[:100])
    size, width, height, order, bpp, line = head[0], head[4], head[5], head[7], head[11], head[12]
    masks, colours = head[14:17], head[19]
    if bpp != 32:
        raise RuntimeError("xwd: %d bits a pixel" % bpp)
    words = np.frombuffer(data, dtype="<u4" if order == 0 else ">u4", count=line // 4 * height,
                          offset=size + 12 * colours).reshape(height, line // 4)[:, :width].astype(np.int64)
    shift = [(m & -m).bit_length() - 1 for m in masks]
    return np.stack([(words & m) >> sh for m, sh in zip(masks, shift)], axis=-1)


def capture_frame(data):
    """The 800x600 frame of a capture as rows of (red, green, blue)."""
    rows = np.frombuffer(data, dtype=np.uint8, offset=54).reshape(600, 800, 3)[::-1]
    return rows[:, :, ::-1].astype(np.int64)


def letterbox_of(width, height):
    if width * 600 >= height * 800:
        w, h = height * 800 // 600, height
    else:
        w, h = width, width * 600 // 800
    return (width - w) // 2, (height - h) // 2, w, h


def axis_taps(frame_size, screen_size):
    """Per screen pixel: the two frame pixels it blends and the weight of the
    second. The screen pixel's centre maps through the whole frame (in 16.16
    fixed point, as the scaler takes the scale); the weight goes in steps of
    1/128, and the edges are held."""
    step = ((frame_size << 16) + screen_size // 2) // screen_size
    centre = (np.arange(screen_size, dtype=np.int64) << 16) + 0x8000
    x = ((centre * step + 0x8000) >> 16) - 0x8000
    near = x >> 16
    weight = ((x >> 9) & 0x7F) / 128.0
    return np.clip(near, 0, frame_size - 1), np.clip(near + 1, 0, frame_size - 1), weight


def expected_screen(frame, width, height):
    """The frame as the screen should show it: at 800x600 itself, else scaled
    bilinearly into the letterbox, black bars around."""
    bx, by, bw, bh = letterbox_of(width, height)
    screen = np.zeros((height, width, 3))
    if (bw, bh) == (800, 600):
        screen[by:by + bh, bx:bx + bw] = frame
        return screen
    x0, x1, wx = axis_taps(800, bw)
    y0, y1, wy = axis_taps(600, bh)
    wx = wx[None, :, None]
    top = frame[y0][:, x0] * (1 - wx) + frame[y0][:, x1] * wx
    bottom = frame[y1][:, x0] * (1 - wx) + frame[y1][:, x1] * wx
    screen[by:by + bh, bx:bx + bw] = top * (1 - wy[:, None, None]) + bottom * wy[:, None, None]
    return screen


def distinct_digits_and_still_pointer(folder):
    """Digits of ten colours, so that each clock tick shows; a pointer whose
    frames are all alike, so that only the game's own changes move pixels."""
    v.write_bmp(os.path.join(folder, "Tex", "Digit.Tex"), 260, 30,
                lambda x, y: v.GREEN if x % 26 == 25 else (20 + 20 * (x // 26), 200 - 15 * (x // 26), 100 + y * 4))
    v.write_bmp(os.path.join(folder, "Tex", "MousePtr.Tex"), 760, 27,
                lambda x, y: v.POINTER if x % 38 < 6 and y < 6 else ((0, 0, 255) if x % 38 == 8 and y == 0 else v.GREEN))


def screen_shows_the_frame(game_path, root, width, height, figures):
    """Pointer moves, a hover and a clock tick drawn as changed rectangles:
    the X screen then equals the frame (800x600) or its bilinear scaling
    within one level a channel."""
    name = "%dx%d" % (width, height)
    folder = v.make_game_folder(root)
    distinct_digits_and_still_pointer(folder)
    bx, by, bw, bh = letterbox_of(width, height)

    def at(fx, fy):  # a frame point to the screen
        return int(bx + (fx + 0.5) * bw / 800), int(by + (fy + 0.5) * bh / 600)

    with v.Xvfb(width, height) as x:
        g = v.Game(game_path, folder, x)
        try:
            g.wait_for_window()
            time.sleep(0.4)
            gl = gl_libraries(g.proc.pid)
            check(not gl, "%s: no GL library mapped in the game %s" % (name, gl))
            g.move(*at(692, 123))  # Shuffle
            time.sleep(0.3)
            g.click()
            time.sleep(0.3)
            for fx, fy in ((300, 300), (420, 180), (150, 460), (560, 90)):
                g.move(*at(fx, fy))
                time.sleep(0.12)
            g.move(*at(640, 185))  # hovers Tile (drawn from (640, 187))
            time.sleep(1.3)  # the clock ticks
            # The clock may tick while the screen is read (xwd takes most of
            # a second on a large screen): the frame is captured on either
            # side, and each screen pixel must show one of the two. Should
            # two ticks fall in one read (a slow build), it is read again.
            exact = (bw, bh) == (800, 600)
            limit = 0 if exact else 1
            worst, bad, frames = None, [], []
            for _ in range(4):
                g.hold_key("F9", 0.03)
                time.sleep(0.1)
                before = captures(folder)[-1:]
                screen = xwd_screen(x)
                g.hold_key("F9", 0.03)
                time.sleep(0.1)
                after = captures(folder)[-1:]
                frames = []
                for path in before + after:
                    with open(path, "rb") as f:
                        data = f.read()
                    if len(data) == 1440054:
                        frames.append(capture_frame(data))
                if len(frames) != 2 or before == after:
                    break
                errors = []
                for frame in frames:
                    expected = expected_screen(frame, width, height)
                    errors.append(np.abs(screen - (np.rint(expected) if exact else expected)).max(axis=2))
                error = np.minimum(errors[0], errors[1])
                worst = float(error.max())
                bad = np.argwhere(error > limit + 1e-6)
                if not len(bad) or np.array_equal(frames[0], frames[1]):
                    break
            check(len(frames) == 2 and worst is not None, "%s: captures on either side of the read-out" % name)
            if worst is None:
                return
            check(tuple(frames[0][200, 690]) == tuple(reversed(v.shown(v.MENU_HOVERED))),
                  "%s: Tile drawn hovered" % name)
            where = "" if not len(bad) else " first at %s" % (tuple(int(i) for i in bad[0][::-1]),)
            check(worst <= limit + 1e-6, "%s: the screen is the %s within %d level(s) (worst %.2f, %d pixels off%s)"
                  % (name, "frame" if exact else "frame's bilinear scaling", limit, worst, len(bad), where))
            figures["%s: worst screen error (levels)" % name] = worst
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
    env = v.leak_checked(env)
    run = subprocess.run([v.game_in(folder, game_path)], cwd=folder, env=env, capture_output=True, text=True,
                         timeout=20)
    check(run.returncode == 255, "no display: status -1 (%d)" % run.returncode)
    check("InitDirectDraw failed: DirectDraw create failed" in run.stderr, "no display: the message")

    # No display and no driver asked for: SDL's off-screen driver is no display either.
    env.pop("SDL_VIDEODRIVER")
    try:
        run = subprocess.run([game_path], cwd=folder, env=env, capture_output=True, text=True, timeout=20)
    except subprocess.TimeoutExpired:
        check(False, "no display, no driver asked for: the game ended")
    else:
        check(run.returncode == 255, "no display, no driver asked for: status -1 (%d)" % run.returncode)
        check("no display found" in run.stderr, "no display, no driver asked for: said so")
        check("InitDirectDraw failed: DirectDraw create failed" in run.stderr,
              "no display, no driver asked for: the message")

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

    # No sound device (ALSA's, on a card that is not there): the game plays
    # silently and says so on one line of its own, without ALSA's messages.
    folder = v.make_game_folder(root)
    with v.Xvfb(800, 600) as x:
        g = v.Game(game_path, folder, x, env={"SDL_AUDIODRIVER": "alsa", "AUDIODEV": "hw:99"})
        try:
            g.wait_for_window()
            time.sleep(0.3)
            g.proc.send_signal(signal.SIGTERM)
            check(g.wait(10) == 0, "no sound device: the game plays, SIGTERM ends it with 0")
        finally:
            g.kill()
        err = g.stderr()
        said = [line for line in err.splitlines() if "silently" in line]
        check(len(said) == 1 and "no sound device" in said[0], "no sound device: one line says so (%r)" % said)
        check("ALSA lib" not in err, "no sound device: none of ALSA's own messages (%r)" % err[:300])
    v.remove_folder(folder)

    # No Shuffle.txt: the folder is still the ready-to-run one (not taken for
    # an installed game's, whose data would be missing), and Shuffle deals a
    # 2 x 2 board at random.
    folder = v.make_game_folder(root)
    os.remove(os.path.join(folder, "Shuffle.txt"))
    with v.Xvfb(800, 600) as x:
        g = v.Game(game_path, folder, x)
        try:
            g.wait_for_window()
            time.sleep(0.4)
            g.move(692, 123)  # Shuffle
            time.sleep(0.3)
            g.click()
            time.sleep(0.4)
            g.hold_key("F9", 0.06)
            time.sleep(0.3)
            files = captures(folder)
            check(len(files) == 1, "no Shuffle.txt: the game plays and captures into its own folder")
            if files:
                with open(files[0], "rb") as f:
                    data = f.read()
                if len(data) == 1440054:
                    check(cell_colours(data) == DEALT,
                          "no Shuffle.txt: a 2 x 2 board dealt, the blank and three tiles %s" % cell_colours(data))
            g.proc.send_signal(signal.SIGTERM)
            check(g.wait(10) == 0, "no Shuffle.txt: SIGTERM ends the game with 0")
        finally:
            g.kill()
        check("Can't Load" not in g.stderr(), "no Shuffle.txt: no missing file reported")
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
        keyboard_alone(game_path, root)
        terminate(game_path, root, signal.SIGTERM)
        terminate(game_path, root, signal.SIGINT)
        kept_game(game_path, root)
        letterbox(game_path, root)
        for width, height in ((800, 600), (1280, 1024), (1920, 1080)):
            screen_shows_the_frame(game_path, root, width, height, figures)
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
