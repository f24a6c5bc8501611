#!/usr/bin/env python3
"""The player's photos at start-up, measured on the running game under Xvfb
(800x600, the dummy audio driver), in one run: the time from the process
start to the first presented frame with 0, 10 and 100 phone-sized photos
(4000x3000 JPEGs made for the run with SDL_image) in Pictures/, on the first
start (nothing cached) and on the second (every photo in the cache folder);
the time until every photo is prepared; the peak RSS; the time SIGTERM takes
to end the game while the photos are being prepared. Figures only.

Each figure is the median of VESK_BENCH_RUNS runs (3). VESK_BENCH_DISPLAY
(":71", say) runs the X server on that display rather than on a free one."""

import os
import shutil
import signal
import statistics
import subprocess
import sys
import tempfile
import threading
import time

sys.path.insert(0, "@PROJECT_SOURCE_DIR@/tests/e2e")
import vesk_e2e as v  # noqa: E402

BENCH = "@VESK_BENCH_DIR@"
GAME = os.path.join(BENCH, "vesk_bench_game")
MAKER = os.path.join(BENCH, "vesk_bench_make_photos")
RUNS = int(os.environ.get("VESK_BENCH_RUNS", "3"))
COUNTS = (0, 10, 100)
# Everything of the game folder but what a run leaves behind.
LEFT_BEHIND = ("Pictures", "cache", "SavedGame.txt", "GAME*.bmp", "vesk", "vesk_bench_game*")


class FixedXvfb(v.Xvfb):
    """Xvfb on a display number of the caller's choosing."""

    def __init__(self, width, height, display):
        self.display = display
        self.proc = subprocess.Popen(["Xvfb", display, "-screen", "0", "%dx%dx24" % (width, height),
                                      "-nolisten", "tcp", "-noreset"],
                                     stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        deadline = time.monotonic() + 15
        while not os.path.exists("/tmp/.X11-unix/X" + display.lstrip(":")):
            if time.monotonic() > deadline or self.proc.poll() is not None:
                self.stop()
                raise RuntimeError("Xvfb did not start on %s" % display)
            time.sleep(0.05)


def xvfb():
    display = os.environ.get("VESK_BENCH_DISPLAY")
    return FixedXvfb(800, 600, display) if display else v.Xvfb(800, 600)


def peak_rss_mb(pid):
    with open("/proc/%d/status" % pid) as f:
        for line in f:
            if line.startswith("VmHWM:"):
                return int(line.split()[1]) / 1024
    return float("nan")


def one_start(folder, x):
    """First frame, all photos prepared (s from the process start), peak RSS
    MB, and the time SIGTERM took to end the game, sent at once after the
    first frame (while photos are still being prepared, on a first start)."""
    g = v.Game(GAME, folder, x)
    stamps = {}
    got = threading.Condition()

    def reading():
        for raw in g.proc.stdout:
            words = raw.decode().split()
            if len(words) >= 2 and words[0] in ("first-present", "photos-done"):
                with got:
                    stamps[words[0]] = float(words[1]) - g.started
                    got.notify_all()

    reader = threading.Thread(target=reading, daemon=True)
    reader.start()
    try:
        with got:
            got.wait_for(lambda: "first-present" in stamps, timeout=60)
        with got:
            got.wait_for(lambda: "photos-done" in stamps, timeout=600)
        rss = peak_rss_mb(g.proc.pid)
        sent = time.monotonic()
        g.proc.send_signal(signal.SIGTERM)
        g.wait(15)
        quit_ms = (time.monotonic() - sent) * 1000
        return (stamps.get("first-present", float("nan")) * 1000, stamps.get("photos-done", float("nan")), rss,
                quit_ms)
    finally:
        g.kill()


def sigterm_while_preparing(folder, x, after):
    """Ms SIGTERM takes to end the game sent `after` s into a first start."""
    shutil.rmtree(os.path.join(folder, "cache"), ignore_errors=True)
    g = v.Game(GAME, folder, x)
    try:
        time.sleep(after)
        sent = time.monotonic()
        g.proc.send_signal(signal.SIGTERM)
        g.wait(15)
        return (time.monotonic() - sent) * 1000
    finally:
        g.kill()


def main():
    here = os.path.exists("Tex/Menu/Exit.Tex") and os.path.exists("Audio/BkGnd.mus")
    print("files: %s; %d run(s) each, medians; photos: 4000x3000 JPEGs" % (
        "the game folder" if here else "test files", RUNS), flush=True)
    results = {}
    quits = []
    with tempfile.TemporaryDirectory(prefix="vesk-bench-photos-") as root:
        source = os.getcwd() if here else v.make_game_folder(root)
        photos = os.path.join(root, "photos")
        subprocess.run([MAKER, photos, str(max(COUNTS))], check=True)
        with xvfb() as x:
            for count in COUNTS:
                for run in range(RUNS):
                    folder = os.path.join(root, "game-%d-%d" % (count, run))
                    shutil.copytree(source, folder, symlinks=True, ignore=shutil.ignore_patterns(*LEFT_BEHIND))
                    os.makedirs(os.path.join(folder, "Pictures"))
                    for name in sorted(os.listdir(photos))[:count]:
                        os.link(os.path.join(photos, name), os.path.join(folder, "Pictures", name))
                    for start in ("first", "second"):
                        figures = one_start(folder, x)
                        results.setdefault((count, start), []).append(figures)
                        print("  %3d photos, %-6s start: first frame %7.1f ms, all prepared %6.2f s, "
                              "peak RSS %6.1f MB, SIGTERM ended it in %5.0f ms" % ((count, start) + figures),
                              flush=True)
                    if count == max(COUNTS):
                        quits.append(sigterm_while_preparing(folder, x, 2.0))
                    shutil.rmtree(folder, ignore_errors=True)

    def median(count, start, i):
        return statistics.median(r[i] for r in results[(count, start)])

    print()
    print("%-44s %12s %12s %10s" % ("figure (median)", "first start", "second start", "target"))
    for count in COUNTS:
        print("%-44s %12.1f %12.1f %10s" % ("first frame, ms, %d photos" % count, median(count, "first", 0),
                                            median(count, "second", 0), "-" if count == 0 else "0 photos+50"))
    for count in COUNTS[1:]:
        print("%-44s %12.2f %12.2f %10s" % ("all %d photos prepared, s" % count, median(count, "first", 1),
                                            median(count, "second", 1), "10 / 1" if count == 100 else "-"))
    for count in COUNTS:
        print("%-44s %12.1f %12.1f %10s" % ("peak RSS, MB, %d photos" % count, median(count, "first", 2),
                                            median(count, "second", 2), "<= 60" if count == 100 else "-"))
    print("%-44s %12.0f %12s %10s" % ("SIGTERM 2 s into a first start with 100, ms", statistics.median(quits),
                                      "-", "<= 1000"))
    return 0


if __name__ == "__main__":
    sys.exit(main())
