#!/usr/bin/env python3
"""Presenting frames, measured on the running game under Xvfb with the dummy
audio driver, on the window's own surface beside the renderer path (the one
Wayland and KMS/DRM take, forced here) and the GL renderer it replaced, in
one run: CPU share of one core (user plus system time of all the game's
threads) on a still screen at 800x600 and 1920x1080, while the pointer
sweeps across the board at 30 moves a second at 1920x1080, and while tiles
slide without a pause at 1920x1080 (an arrow key every 100 ms, a slide's
length, on a dealt 2 x 2 board: the largest tiles); peak RSS; time
from the process start to the first presented frame; the time per frame of
each stage. Figures only. Both games draw through the same back buffer
(each frame's drawing put onto the front only where it changed); they differ
only in how the frame reaches the screen. The draw stage is RunFrame up to
the hand-over, the back buffer's flip included.

Each figure is the median of VESK_BENCH_RUNS runs (5) of VESK_BENCH_SECONDS
(30) after a settle of VESK_BENCH_SETTLE seconds (5)."""

import ctypes
import ctypes.util
import os
import re
import shutil
import statistics
import sys
import tempfile
import threading
import time

sys.path.insert(0, "@PROJECT_SOURCE_DIR@/tests/e2e")
import vesk_e2e as v  # noqa: E402

BENCH = "@VESK_BENCH_DIR@"
# The renderer path runs here on Mesa's software GL (llvmpipe): its figures
# are an upper bound of what a GPU's driver costs.
PATHS = (("window surface", os.path.join(BENCH, "vesk_bench_game")),
         ("renderer path", os.path.join(BENCH, "vesk_bench_game_renderer")),
         ("GL renderer (before)", os.path.join(BENCH, "vesk_bench_game_gl")))
RUNS = int(os.environ.get("VESK_BENCH_RUNS", "5"))
SECONDS = float(os.environ.get("VESK_BENCH_SECONDS", "30"))
SETTLE = float(os.environ.get("VESK_BENCH_SETTLE", "5"))


class XPointer:
    """Moves the X pointer through XTest, without a process per move."""

    def __init__(self, display):
        self.x11 = ctypes.CDLL(ctypes.util.find_library("X11") or "libX11.so.6")
        self.xtst = ctypes.CDLL(ctypes.util.find_library("Xtst") or "libXtst.so.6")
        self.x11.XOpenDisplay.restype = ctypes.c_void_p
        self.x11.XOpenDisplay.argtypes = [ctypes.c_char_p]
        self.x11.XFlush.argtypes = [ctypes.c_void_p]
        self.x11.XCloseDisplay.argtypes = [ctypes.c_void_p]
        self.xtst.XTestFakeMotionEvent.argtypes = [ctypes.c_void_p, ctypes.c_int, ctypes.c_int, ctypes.c_int,
                                                   ctypes.c_ulong]
        self.display = self.x11.XOpenDisplay(display.encode())
        if not self.display:
            raise RuntimeError("no X display %s" % display)

        self.x11.XStringToKeysym.restype = ctypes.c_ulong
        self.x11.XStringToKeysym.argtypes = [ctypes.c_char_p]
        self.x11.XKeysymToKeycode.restype = ctypes.c_ubyte
        self.x11.XKeysymToKeycode.argtypes = [ctypes.c_void_p, ctypes.c_ulong]
        self.xtst.XTestFakeKeyEvent.argtypes = [ctypes.c_void_p, ctypes.c_uint, ctypes.c_int, ctypes.c_ulong]

    def move(self, x, y):
        self.xtst.XTestFakeMotionEvent(self.display, -1, int(x), int(y), 0)
        self.x11.XFlush(self.display)

    def key(self, name, down):
        code = self.x11.XKeysymToKeycode(self.display, self.x11.XStringToKeysym(name.encode()))
        self.xtst.XTestFakeKeyEvent(self.display, code, 1 if down else 0, 0)
        self.x11.XFlush(self.display)

    def tap(self, name, held=0.0):
        self.key(name, True)
        if held:
            time.sleep(held)
        self.key(name, False)

    def close(self):
        self.x11.XCloseDisplay(self.display)


def to_screen(width, height, fx, fy):
    scale = min(width / 800, height / 600)
    return (width - 800 * scale) / 2 + (fx + 0.5) * scale, (height - 600 * scale) / 2 + (fy + 0.5) * scale


def thread_times(pid):
    """CPU seconds of each thread, by thread id: (name, seconds)."""
    ticks = os.sysconf("SC_CLK_TCK")
    times = {}
    for tid in os.listdir("/proc/%d/task" % pid):
        try:
            with open("/proc/%d/task/%s/stat" % (pid, tid)) as f:
                text = f.read()
        except OSError:
            continue
        name = text[text.index("(") + 1:text.rindex(")")]
        fields = text.rsplit(")", 1)[1].split()
        times[tid] = (name, (int(fields[11]) + int(fields[12])) / ticks)
    return times


def peak_rss_mb(pid):
    with open("/proc/%d/status" % pid) as f:
        for line in f:
            if line.startswith("VmHWM:"):
                return int(line.split()[1]) / 1024
    return 0.0


def memory_by_mapping(pid):
    """Resident MB by what is mapped: heap, anonymous memory, each library."""
    sizes = {}
    current = None
    with open("/proc/%d/smaps" % pid) as f:
        for line in f:
            if re.match(r"^[0-9a-f]+-[0-9a-f]+ ", line):
                parts = line.split(None, 5)
                current = os.path.basename(parts[5].strip()) if len(parts) == 6 else "[anonymous]"
            elif line.startswith("Rss:") and current is not None:
                sizes[current] = sizes.get(current, 0) + int(line.split()[1]) / 1024
    return sorted(sizes.items(), key=lambda kv: -kv[1])


def one_run(exe, folder, width, height, motion, keep_memory):
    with v.Xvfb(width, height) as x:
        g = v.Game(exe, folder, x)
        try:
            g.wait_for_window()
            # The first-present line, past any other the game prints first
            # (photos-done comes before it when there are no photos).
            line = []
            for _ in range(4):
                line = g.proc.stdout.readline().decode().split()
                if line[:1] in (["first-present"], []):
                    break
            stamps = [float(t) - g.started for t in line[1:6]] if line[:1] == ["first-present"] else [float("nan")] * 5
            first = stamps[0]
            # Process start to the display's set-up, the set-up, loading,
            # showing the window, the first frame.
            steps = [stamps[1], stamps[2] - stamps[1], stamps[3] - stamps[2], stamps[4] - stamps[3],
                     stamps[0] - stamps[4]]
            pointer = XPointer(x.display)
            # The pointer parked on the preview's picture; its animation runs.
            pointer.move(*to_screen(width, height, 300, 300))
            if motion == "slide":
                # S is read while held: a deal, then the board.
                pointer.tap("s", held=0.2)
            time.sleep(SETTLE)
            stop = threading.Event()

            def sweeping():
                # Across the board and back, a move every 1/30 s.
                k = 0
                next_move = time.monotonic()
                while not stop.is_set():
                    phase = (k % 60) / 30.0
                    t = phase if phase <= 1 else 2 - phase
                    pointer.move(*to_screen(width, height, 60 + 440 * t, 120 + 300 * t + 40 * ((k // 7) % 2)))
                    k += 1
                    next_move += 1 / 30
                    stop.wait(max(0.0, next_move - time.monotonic()))

            def sliding():
                # Right and Left in turn: the same tile across and back, one
                # slide after the other, never solving the board.
                k = 0
                next_press = time.monotonic()
                while not stop.is_set():
                    pointer.tap("Right" if k % 2 == 0 else "Left")
                    k += 1
                    next_press += 0.1
                    stop.wait(max(0.0, next_press - time.monotonic()))

            mover = threading.Thread(target={"sweep": sweeping, "slide": sliding}[motion]) if motion else None
            if mover:
                mover.start()
            before, start = thread_times(g.proc.pid), time.monotonic()
            time.sleep(SECONDS)
            after, spent = thread_times(g.proc.pid), time.monotonic() - start
            if mover:
                stop.set()
                mover.join()
            pointer.close()
            rss = peak_rss_mb(g.proc.pid)
            memory = memory_by_mapping(g.proc.pid) if keep_memory else None
            cpu = 100 * sum(t - before.get(tid, (n, 0))[1] for tid, (n, t) in after.items()) / spent
            audio = 100 * sum(t - before.get(tid, (n, 0))[1] for tid, (n, t) in after.items()
                              if n.startswith("SDLAudio")) / spent
            g.proc.terminate()
            g.wait(15)
            stages = [s.strip() for s in g.proc.stdout.read().decode().splitlines() if s.startswith("stages:")]
            return {"cpu": cpu, "audio": audio, "rss": rss, "first": first * 1000, "steps": steps,
                    "stages": stages[0] if stages else "stages: none printed", "memory": memory}
        finally:
            g.kill()


def main():
    here = os.path.exists("Tex/Menu/Exit.Tex") and os.path.exists("Audio/BkGnd.mus")
    scenarios = (("still screen, 800x600", 800, 600, None, 1.0),
                 ("still screen, 1920x1080", 1920, 1080, None, 2.0),
                 ("pointer sweep at 30/s, 1920x1080", 1920, 1080, "sweep", 5.0),
                 ("tiles sliding, 1920x1080", 1920, 1080, "slide", None))
    print("files: %s; %d run(s) of %.0f s after %.0f s each, medians" % (
        "the game folder" if here else "test files", RUNS, SECONDS, SETTLE))
    results = {}
    with tempfile.TemporaryDirectory(prefix="vesk-bench-") as root:
        folder = os.getcwd() if here else v.make_game_folder(root)
        # The sliding board is dealt from a deal of its own, the one farthest
        # from home (blank bottom right): Right and Left never bring it home.
        sliding = shutil.copytree(folder, os.path.join(root, "sliding"), symlinks=True,
                                  ignore=shutil.ignore_patterns("GAME*.bmp"))
        with open(os.path.join(sliding, "Shuffle.txt"), "w") as f:
            f.write("1 1 1 0 0 1 0 0\n")
        for title, width, height, motion, _ in scenarios:
            for path, exe in PATHS:
                runs = [one_run(exe, sliding if motion == "slide" else folder, width, height, motion,
                                keep_memory=(i == 0 and not motion and width == 800))
                        for i in range(RUNS)]
                results[(title, path)] = runs
                print("  %-34s %-22s CPU %s %%" % (title, path, " ".join("%.2f" % r["cpu"] for r in runs)),
                      flush=True)

    def median(title, path, key):
        return statistics.median(r[key] for r in results[(title, path)])

    names = [p for p, _ in PATHS]
    print()
    print("%-46s %s %8s" % ("figure (median)", " ".join("%22s" % n for n in names), "target"))
    for title, _, _, _, target in scenarios:
        print("%-46s %s %8s" % ("CPU %% of a core, %s" % title,
                                " ".join("%22.2f" % median(title, n, "cpu") for n in names),
                                "<= %g" % target if target else "-"))
    still = scenarios[0][0]
    print("%-46s %s %8s" % ("peak RSS MB after start-up (800x600)",
                            " ".join("%22.1f" % median(still, n, "rss") for n in names), "<= 50"))
    print("%-46s %s %8s" % ("process start to first presented frame, ms",
                            " ".join("%22.1f" % median(still, n, "first") for n in names), "<= 100"))
    print("(the targets are the window surface's, on X11; the renderer path is Wayland's and KMS/DRM's,"
          " here on Mesa's software GL: an upper bound)")
    for path in names:
        runs = results[(still, path)]
        steps = [statistics.median(r["steps"][i] for r in runs) * 1000 for i in range(5)]
        print("  %s: to the display set-up %.0f ms, set-up %.0f, loading %.0f, showing the window %.0f, "
              "first frame %.0f" % (path, *steps))
    print()
    for title, _, _, _, _ in scenarios:
        for path in names:
            runs = results[(title, path)]
            print("%s, %s: audio thread CPU %.2f %%; %s" % (title, path, statistics.median(r["audio"] for r in runs),
                                                            runs[len(runs) // 2]["stages"]))
    print()
    for path in names:
        memory = results[(still, path)][0]["memory"] or []
        print("resident memory by mapping, %s (800x600, MB): %s" % (
            path, ", ".join("%s %.1f" % (name, mb) for name, mb in memory[:8])))
    return 0


if __name__ == "__main__":
    sys.exit(main())
