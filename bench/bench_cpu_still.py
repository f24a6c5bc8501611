#!/usr/bin/env python3
"""CPU use of the running game on a still screen: the game under Xvfb with a
board in play and the mouse at rest, its CPU time read from /proc/<pid>/stat
over a few seconds, at 800x600 and at 1280x1024. Prints figures only."""

import os
import sys
import tempfile
import time

sys.path.insert(0, "@PROJECT_SOURCE_DIR@/tests/e2e")
import vesk_e2e as v  # noqa: E402

GAME = "@VESK_GAME_DIR@/vesk"



def main():
    game = GAME
    here = os.path.exists("Tex/Menu/Exit.Tex") and os.path.exists("Audio/BkGnd.mus")
    with tempfile.TemporaryDirectory(prefix="vesk-bench-") as root:
        folder = os.getcwd() if here else v.make_game_folder(root)
        print("game: %s; files: %s" % (os.path.basename(game), "the game folder" if here else "test files"))
        for width, height in ((800, 600), (1280, 1024)):
            with v.Xvfb(width, height) as x:
                g = v.Game(game, folder, x)
                try:
                    shown = g.wait_for_window()
                    time.sleep(0.5)
                    # Shuffle: a board in play; then the mouse rests on the board.
                    scale = min(width / 800, height / 600)
                    ox, oy = (width - 800 * scale) / 2, (height - 600 * scale) / 2
                    g.move(int(ox + 692 * scale), int(oy + 123 * scale))
                    time.sleep(0.3)
                    g.click()
                    time.sleep(0.3)
                    g.move(int(ox + 300 * scale), int(oy + 300 * scale))
                    time.sleep(0.5)
                    cpu = g.cpu_percent(4.0)
                    print("%dx%d: start to window shown %.0f ms; CPU on a still screen %.1f %% of one core"
                          % (width, height, shown * 1000, cpu))
                finally:
                    g.proc.terminate()
                    try:
                        g.wait(10)
                    finally:
                        g.kill()
    return 0


if __name__ == "__main__":
    sys.exit(main())
