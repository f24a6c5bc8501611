#!/usr/bin/env python3
"""The installed game: `make install DESTDIR=<tmp>`, the installed files and
their validators, the command line without a display, then the installed
game under Xvfb from an unrelated working directory with its own HOME and
XDG_DATA_HOME: its first frame, a capture, a solved 2x2 game recorded in
XDG_DATA_HOME/vesk, and nothing written under the install root. Last, the
focus rule of --window against the full screen's. Exit status 0 when all
checks hold."""

import argparse
import collections
import gzip
import os
import struct
import subprocess
import sys
import tempfile
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "e2e"))
import vesk_e2e as v  # noqa: E402

failures = []


def check(ok, what):
    print(("ok   " if ok else "FAIL ") + what, flush=True)
    if not ok:
        failures.append(what)


def snapshot(root):
    """Every path under root with what would show a change to it."""
    seen = {}
    for folder, dirs, files in os.walk(root):
        for name in dirs + files:
            path = os.path.join(folder, name)
            st = os.lstat(path)
            seen[os.path.relpath(path, root)] = (st.st_mode, st.st_size, st.st_mtime_ns)
    return seen


def png_size(path):
    with open(path, "rb") as f:
        head = f.read(24)
    if head[:8] != b"\x89PNG\r\n\x1a\n":
        return None
    return struct.unpack(">II", head[16:24])


def read_bmp(path):
    """Width, height and a pixel(x, y) -> (b, g, r) of a 24-bit bitmap."""
    with open(path, "rb") as f:
        data = f.read()
    offset = struct.unpack("<I", data[10:14])[0]
    w, h = struct.unpack("<ii", data[18:26])
    row = (w * 3 + 3) // 4 * 4

    def pixel(x, y):
        at = offset + (h - 1 - y) * row + 3 * x
        return tuple(data[at:at + 3])
    return w, h, pixel


def as_shown(bgr):
    """A colour of a file as the game's 16-bit frame shows it in a capture."""
    return v.shown((bgr[2], bgr[1], bgr[0]))


# Sample points inside a 248-pixel tile.
SAMPLES = [(x, y) for x in range(10, 240, 37) for y in range(10, 240, 41)]


def read_board(capture, picture, hollow):
    """The home index of the tile in each cell of the 2x2 board on show, or
    None for a cell that shows no tile of the picture."""
    _, _, shown = capture
    board = []
    for cell in range(4):
        r, c = divmod(cell, 2)
        found = None
        for home in range(4):
            hr, hc = divmod(home, 2)
            source = hollow if home == 0 else picture
            if all(shown(52 + c * 250 + dx, 52 + r * 250 + dy) == as_shown(source(hc * 250 + dx, hr * 250 + dy))
                   for dx, dy in SAMPLES):
                found = home
        board.append(found)
    return board


def solution(board):
    """The cells to click, in order, to bring a 2x2 board home."""
    start, goal = tuple(board), (0, 1, 2, 3)
    came = {start: None}
    queue = collections.deque([start])
    while queue:
        state = queue.popleft()
        if state == goal:
            clicks = []
            while came[state] is not None:
                state, cell = came[state]
                clicks.append(cell)
            return clicks[::-1]
        blank = state.index(0)
        for cell in range(4):
            if abs(cell // 2 - blank // 2) + abs(cell % 2 - blank % 2) == 1:
                nxt = list(state)
                nxt[blank], nxt[cell] = nxt[cell], 0
                nxt = tuple(nxt)
                if nxt not in came:
                    came[nxt] = (state, cell)
                    queue.append(nxt)
    return None


def install(source, build, root):
    env = {k: val for k, val in os.environ.items() if not k.startswith("MAKE")}
    run = subprocess.run(["make", "-s", "-C", source, "install", "BUILD=" + build, "DESTDIR=" + root],
                         env=env, capture_output=True, text=True, timeout=300)
    check(run.returncode == 0, "make install DESTDIR=%s (%s)" % (root, run.stderr.strip()[-500:]))


def check_files(prefix):
    data = os.path.join(prefix, "share/games/vesk")
    check(os.access(os.path.join(prefix, "games/vesk"), os.X_OK), "the executable in <prefix>/games")
    for name in ("Shuffle.txt", "Icon.bmp", "Tex/Tiger.Tex", "Tex/Menu/Exit.Tex", "Audio/BkGnd.mus"):
        check(os.path.isfile(os.path.join(data, name)), "data file %s" % name)
    check(not os.path.exists(os.path.join(data, "ScoreFile.txt")), "no best-times file among the data")
    icons = os.path.join(prefix, "share/icons/hicolor")
    for size in (48, 64, 128, 256):
        path = os.path.join(icons, "%dx%d/apps/vesk.png" % (size, size))
        check(os.path.isfile(path) and png_size(path) == (size, size), "icon %dx%d" % (size, size))
    svg = os.path.join(icons, "scalable/apps/vesk.svg")
    check(os.path.isfile(svg) and b"<svg" in open(svg, "rb").read(400), "scalable icon")
    doc = os.path.join(prefix, "share/doc/vesk")
    check(os.path.isfile(os.path.join(doc, "copyright")), "copyright")
    changelog = os.path.join(doc, "changelog.gz")
    check(os.path.isfile(changelog) and gzip.open(changelog).read().startswith(b"vesk ("), "changelog.gz")

    desktop = os.path.join(prefix, "share/applications/vesk.desktop")
    run = subprocess.run(["desktop-file-validate", desktop], capture_output=True, text=True)
    check(run.returncode == 0 and run.stdout + run.stderr == "",
          "desktop-file-validate says nothing: %s" % (run.stdout + run.stderr))
    metainfo = os.path.join(prefix, "share/metainfo/org.vesk.vesk.metainfo.xml")
    run = subprocess.run(["appstreamcli", "validate", "--no-net", "--pedantic", metainfo],
                         capture_output=True, text=True)
    check(run.returncode == 0 and "pedantic" not in run.stdout and "W:" not in run.stdout,
          "appstreamcli validate: %s" % run.stdout.strip())
    man = os.path.join(prefix, "share/man/man6/vesk.6.gz")
    run = subprocess.run(["man", "--warnings", "-l", man], capture_output=True, text=True,
                         env=dict(os.environ, MANWIDTH="80"))
    check(run.returncode == 0 and run.stderr == "" and "XDG_DATA_HOME" in run.stdout,
          "man --warnings renders the page quietly: %s" % run.stderr.strip())


def check_command_line(game, cwd):
    env = {k: val for k, val in os.environ.items() if k not in ("DISPLAY", "WAYLAND_DISPLAY")}
    for args, status, out, err in ((["--help"], 0, "Usage: vesk", ""), (["--version"], 0, "vesk ", ""),
                                   (["--bogus"], 2, "", "vesk: unknown option '--bogus'\nUsage: vesk")):
        run = subprocess.run([game, *args], cwd=cwd, env=env, capture_output=True, text=True, timeout=20)
        check(run.returncode == status and run.stdout.startswith(out) and (run.stderr.startswith(err) if err
              else run.stderr == "") and (out == "" or run.stdout != ""),
              "%s without a display: status %d, out %r, err %r" % (" ".join(args), run.returncode,
                                                                    run.stdout[:30], run.stderr[:40]))


def play_installed(game, prefix, home, xdg, cwd):
    player = os.path.join(xdg, "vesk")
    data = os.path.join(prefix, "share/games/vesk")
    picture = read_bmp(os.path.join(data, "Tex/Tiger.Tex"))[2]
    hollow = read_bmp(os.path.join(data, "Tex/TigerHollow.Tex"))[2]
    with v.Xvfb(800, 600) as x:
        g = v.Game(game, cwd, x, env={"HOME": home, "XDG_DATA_HOME": xdg}, installed=True)
        try:
            g.wait_for_window()
            time.sleep(0.5)
            st = os.stat(player) if os.path.isdir(player) else None
            check(st is not None and st.st_mode & 0o777 == 0o700, "XDG_DATA_HOME/vesk made, private")
            score = os.path.join(player, "ScoreFile.txt")
            with open(score) if os.path.isfile(score) else open(os.devnull) as f:
                fresh = f.read()
            check(fresh == "".join(" %d  359999 \n" % n for n in range(2, 7)),
                  "the first run made a fresh ScoreFile.txt there: %r" % fresh)
            g.hold_key("F9", 0.05)
            time.sleep(0.5)
            first = os.path.join(player, "GAME0.bmp")
            check(os.path.isfile(first), "F9 wrote GAME0.bmp in XDG_DATA_HOME/vesk")
            if os.path.isfile(first):
                _, _, shown = read_bmp(first)
                check(all(shown(50 + dx, 50 + dy) == as_shown(picture(dx, dy)) for dx, dy in SAMPLES),
                      "the first frame shows the Tiger")
            g.move(692, 123)  # Shuffle
            time.sleep(0.3)
            g.click()
            time.sleep(0.5)
            before = set(os.listdir(player))
            g.hold_key("F9", 0.05)
            time.sleep(0.5)
            new = sorted(set(os.listdir(player)) - before, key=lambda n: int(n[4:-4]) if n[4:-4].isdigit() else -1)
            board = read_board(read_bmp(os.path.join(player, new[-1])), picture, hollow) if new else [None]
            check(None not in board, "a dealt 2x2 board on show: %s" % board)
            clicks = solution(board) if None not in board else None
            check(clicks is not None, "the deal can be solved: %s" % clicks)
            for cell in clicks or []:
                r, c = divmod(cell, 2)
                g.move(52 + c * 250 + 125, 52 + r * 250 + 125)
                time.sleep(0.15)
                g.click()
                time.sleep(0.25)
            time.sleep(0.5)
            lines = open(score).read().split("\n") if os.path.isfile(score) else []
            best = lines[0].split() if lines else []
            rest = "".join(" %d  359999 \n" % n for n in range(3, 7))
            check(len(best) == 2 and best[0] == "2" and int(best[1]) < 359999 and "\n".join(lines[1:]) == rest,
                  "the solved 2x2 game is recorded in a new ScoreFile.txt in XDG_DATA_HOME/vesk: %r" % lines)
            g.hold_key("Escape", 0.1)
            check(g.wait(10) == 1, "Escape ends the installed game with 1")
            out = g.proc.stdout.read().decode(errors="replace")
            check("Saved %s\n" % first in out, "the capture's path on stdout: %r" % out[:200])
        finally:
            g.kill()


def focus_rule(game, home, xdg, cwd):
    """Another window taking the focus ends the full-screen game, not one
    in a window."""
    for args, ends in (([], True), (["--window"], False)):
        with v.Xvfb(1024, 768) as x:
            g = v.Game(game, cwd, x, args=args, env={"HOME": home, "XDG_DATA_HOME": xdg}, installed=True)
            other = None
            try:
                g.wait_for_window()
                time.sleep(0.5)
                found = g.xdotool("search", "--onlyvisible", "--name", "^Vesk$").stdout.split()
                geometry = g.xdotool("getwindowgeometry", found[0]).stdout if found else ""
                if args:
                    check("Geometry: 800x600" in geometry, "--window: an 800x600 window (%s)" % geometry.strip())
                g.xdotool("windowfocus", found[0]) if found else None
                time.sleep(0.3)
                other = subprocess.Popen(["xev", "-name", "other"], env=x.env(), stdout=subprocess.DEVNULL)
                deadline = time.monotonic() + 10
                ids = []
                while not ids and time.monotonic() < deadline:
                    ids = g.xdotool("search", "--onlyvisible", "--name", "^other$").stdout.split()
                    time.sleep(0.1)
                if ids:
                    g.xdotool("windowfocus", ids[0])
                time.sleep(1.0)
                what = "with --window" if args else "full screen"
                if ends:
                    check(g.proc.poll() == 1, "%s: another window taking the focus ends the game with 1 (%s)"
                          % (what, g.proc.poll()))
                else:
                    check(ids != [] and g.proc.poll() is None,
                          "%s: another window taking the focus leaves the game running" % what)
            finally:
                if other:
                    other.kill()
                    other.wait()
                g.kill()


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--source", required=True)
    parser.add_argument("--build", required=True)
    a = parser.parse_args()
    with tempfile.TemporaryDirectory(prefix="vesk-install-") as tmp:
        root = os.path.join(tmp, "root")
        install(os.path.abspath(a.source), os.path.abspath(a.build), root)
        prefix = os.path.join(root, "usr/local")
        game = os.path.join(prefix, "games/vesk")
        if failures or not os.path.isfile(game):
            return 1
        check_files(prefix)
        home, xdg, cwd = (os.path.join(tmp, n) for n in ("home", "xdg", "elsewhere"))
        for folder in (home, cwd):
            os.makedirs(folder)
        before = snapshot(root)
        check_command_line(game, cwd)
        play_installed(game, prefix, home, xdg, cwd)
        focus_rule(game, home, xdg, cwd)
        check(snapshot(root) == before, "nothing written under the install root")
        check(os.listdir(cwd) == [], "nothing written in the working directory")
    print("%d failure(s)" % len(failures))
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
