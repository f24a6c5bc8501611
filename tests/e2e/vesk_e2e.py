"""Helpers for running the real game under Xvfb: a throw-away game folder
with images and sounds of known colours, a private X server, xdotool."""

import os
import select
import zlib
import shutil
import signal
import struct
import subprocess
import tempfile
import time

# Colours of the test images (red, green, blue).
GREEN = (0, 255, 0)
BACKGROUND = (40, 80, 160)
BACKGROUND_OPTIONS = (160, 80, 40)
BORDER = (96, 96, 96)
HOLLOW = (60, 30, 90)
POINTER = (255, 0, 0)
# The picture's four quarters, top left, top right, bottom left, bottom right.
QUARTERS = [(200, 40, 40), (40, 200, 40), (40, 40, 200), (200, 200, 40)]
MENU_NORMAL = (200, 120, 0)
MENU_HOVERED = (0, 120, 200)

MENU = {  # name: (width, height) of both frames side by side
    "Shuffle": (176, 27), "Tile": (176, 27), "HighScores": (176, 27), "Options": (176, 27),
    "Resume": (176, 27), "Music": (210, 32), "Sound": (250, 42), "Button": (50, 29),
    "Back": (296, 67), "Picture": (300, 40), "Help": (176, 27), "ShuffleAgain": (410, 42),
    "NextLevel": (346, 41), "Exit": (176, 27), "PictureLeft": (52, 30), "PictureRight": (52, 30),
    "Numbers": (250, 32), "HelpKeys": (360, 67), "HelpRules": (360, 67),
}


def rgb565(c):
    return ((c[0] >> 3) << 11) | ((c[1] >> 2) << 5) | (c[2] >> 3)


def shown(c):
    """The blue, green, red bytes a capture holds for a colour drawn in the
    game's 5-6-5 frame: 5 and 6 bits widened to 8."""
    p = rgb565(c)
    r5, g6, b5 = p >> 11, (p >> 5) & 0x3F, p & 0x1F
    return (b5 << 3 | b5 >> 2, g6 << 2 | g6 >> 4, r5 << 3 | r5 >> 2)


def bgr(c, n=1):
    return bytes((c[2], c[1], c[0])) * n


def write_bmp_rows(path, w, h, row):
    """A 24-bit Windows bitmap; row(y) gives the blue-green-red bytes of row y."""
    row_bytes = (w * 3 + 3) // 4 * 4
    pad = b"\0" * (row_bytes - w * 3)
    data = b"".join(row(y) + pad for y in range(h - 1, -1, -1))
    header = struct.pack("<2sIHHI", b"BM", 54 + len(data), 0, 0, 54)
    info = struct.pack("<IiiHHIIiiII", 40, w, h, 1, 24, 0, len(data), 0, 0, 0, 0)
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, "wb") as f:
        f.write(header + info + data)


def write_bmp(path, w, h, pixel):
    """pixel(x, y) gives (r, g, b)."""
    write_bmp_rows(path, w, h, lambda y: b"".join(bgr(pixel(x, y)) for x in range(w)))


def solid_bmp(path, w, h, colour):
    line = bgr(colour, w)
    write_bmp_rows(path, w, h, lambda y: line)


def write_png(path, w, h, pixel):
    """An 8-bit RGB PNG; pixel(x, y) gives (r, g, b)."""
    raw = b"".join(b"\0" + b"".join(bytes(pixel(x, y)) for x in range(w)) for y in range(h))

    def chunk(kind, data):
        return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data))

    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, "wb") as f:
        f.write(b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", w, h, 8, 2, 0, 0, 0)) +
                chunk(b"IDAT", zlib.compress(raw)) + chunk(b"IEND", b""))


def write_wav(path, samples=800):
    """A short silent 16-bit mono WAV."""
    data = b"\0\0" * samples
    fmt = struct.pack("<HHIIHH", 1, 1, 22050, 44100, 2, 16)
    body = b"WAVE" + b"fmt " + struct.pack("<I", len(fmt)) + fmt + b"data" + struct.pack("<I", len(data)) + data
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, "wb") as f:
        f.write(b"RIFF" + struct.pack("<I", len(body)) + body)


def make_game_folder(root):
    """Every file the game reads, in a new folder under root."""
    folder = tempfile.mkdtemp(prefix="vesk-e2e-", dir=root)
    tex = os.path.join(folder, "Tex")
    for name in ("Tiger", "Bird", "Flower"):
        top = bgr(QUARTERS[0], 250) + bgr(QUARTERS[1], 250)
        bottom = bgr(QUARTERS[2], 250) + bgr(QUARTERS[3], 250)
        write_bmp_rows(os.path.join(tex, name + ".Tex"), 500, 500,
                       lambda y, top=top, bottom=bottom: top if y < 250 else bottom)
        solid_bmp(os.path.join(tex, name + "Hollow.Tex"), 250, 250, HOLLOW)
    for name, (w, h) in MENU.items():
        half = w // 2
        write_bmp(os.path.join(tex, "Menu", name + ".Tex"), w, h,
                  lambda x, y, half=half: MENU_NORMAL if x < half else MENU_HOVERED)
    solid_bmp(os.path.join(tex, "Background.Tex"), 800, 600, BACKGROUND)
    solid_bmp(os.path.join(tex, "BackgroundOptions.Tex"), 800, 600, BACKGROUND_OPTIONS)
    solid_bmp(os.path.join(tex, "Border.Tex"), 510, 510, BORDER)
    solid_bmp(os.path.join(tex, "Won.Tex"), 300, 100, (250, 250, 0))
    solid_bmp(os.path.join(tex, "HelpPage.Tex"), 600, 300, (0, 200, 200))
    solid_bmp(os.path.join(tex, "HelpKeysPage.Tex"), 600, 300, (200, 200, 0))
    solid_bmp(os.path.join(tex, "HighScore.Tex"), 200, 300, (200, 0, 200))
    # Pointer: 20 frames of 38 x 27, a 6 x 6 red square at the tip and a
    # pixel of each frame's own colour beside it, the rest see-through.
    def pointer(x, y):
        k = x // 38
        if x % 38 < 6 and y < 6:
            return POINTER
        if x % 38 == 8 and y == 0:
            return (k * 12, 0, 255 - k * 12)
        return GREEN
    write_bmp(os.path.join(tex, "MousePtr.Tex"), 760, 27, pointer)
    write_bmp(os.path.join(tex, "Digit.Tex"), 260, 30,
              lambda x, y: GREEN if x % 26 == 25 else (255, 255, 255))
    solid_bmp(os.path.join(tex, "Hyphen.Tex"), 10, 4, (255, 255, 255))
    solid_bmp(os.path.join(tex, "Numbers.Tex"), 26 * 35, 18, (250, 200, 0))
    solid_bmp(os.path.join(tex, "Dash.Tex"), 40, 30, (255, 255, 255))
    solid_bmp(os.path.join(tex, "GridSize.Tex"), 120, 170, (255, 255, 255))
    solid_bmp(os.path.join(tex, "Par.Tex"), 240, 80, (255, 255, 255))
    solid_bmp(os.path.join(tex, "Preparing.Tex"), 300, 64, (220, 180, 40))
    solid_bmp(os.path.join(folder, "Icon.bmp"), 32, 32, (255, 128, 0))
    for name in ("BkGnd.mus", "Button.aud", "Tile.aud", "Success.aud"):
        write_wav(os.path.join(folder, "Audio", name))
    with open(os.path.join(folder, "Shuffle.txt"), "w") as f:
        f.write("0 1 1 1 1 0 0 0\n")
    with open(os.path.join(folder, "ScoreFile.txt"), "w") as f:
        f.write("".join(" %d  359999 \n" % n for n in range(2, 7)))
    return folder


class Xvfb:
    """A private X server on a free display number."""

    def __init__(self, width, height):
        read_end, write_end = os.pipe()
        self.proc = subprocess.Popen(
            ["Xvfb", "-displayfd", str(write_end), "-screen", "0", "%dx%dx24" % (width, height),
             "-nolisten", "tcp", "-noreset"],
            pass_fds=(write_end,), stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        os.close(write_end)
        number = b""
        deadline = time.monotonic() + 15
        while not number.endswith(b"\n"):
            left = deadline - time.monotonic()
            ready = select.select([read_end], [], [], max(left, 0))[0] if left > 0 else []
            if not ready:
                os.close(read_end)
                self.stop()
                raise RuntimeError("Xvfb did not start")
            chunk = os.read(read_end, 16)
            if not chunk:
                break
            number += chunk
        os.close(read_end)
        self.display = ":" + number.decode().strip()

    def env(self):
        env = dict(os.environ)
        env["DISPLAY"] = self.display
        return env

    def stop(self):
        if self.proc.poll() is None:
            self.proc.terminate()
            try:
                self.proc.wait(timeout=5)
            except subprocess.TimeoutExpired:
                self.proc.kill()
                self.proc.wait()

    def __enter__(self):
        return self

    def __exit__(self, *exc):
        self.stop()


def game_env(xvfb):
    env = xvfb.env()
    env["SDL_AUDIODRIVER"] = "dummy"
    env["VESK_NO_MESSAGE_BOX"] = "1"
    return leak_checked(env)


# The system libraries' own leaks, left out of a sanitizer build's leak report.
LSAN_SUPPRESSIONS = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "lsan.supp")


def leak_checked(env):
    """A sanitizer build checks for leaks at its end, but for those of the
    system libraries the suppressions name; a leak fails the game's status."""
    env["ASAN_OPTIONS"] = (env.get("ASAN_OPTIONS", "") + ":detect_leaks=1").lstrip(":")
    env["LSAN_OPTIONS"] = (env.get("LSAN_OPTIONS", "") + ":suppressions=" + LSAN_SUPPRESSIONS).lstrip(":")
    return env


def game_in(folder, game):
    """The game's executable copied into a game folder: the game reads and
    writes in the folder its executable lies in when that folder holds
    Shuffle.txt and Tex/."""
    path = os.path.join(folder, os.path.basename(game))
    # A copy left from an older build is replaced.
    if not os.path.exists(path) or (not os.path.samefile(path, game) and
                                    os.path.getmtime(path) != os.path.getmtime(game)):
        shutil.copy2(game, path)
    return path


class Game:
    """The game running from a game folder on an X server (installed=True:
    the executable as given, from the working directory `folder`)."""

    def __init__(self, game, folder, xvfb, args=(), env=None, installed=False):
        self.xvfb = xvfb
        self.started = time.monotonic()
        path = game if installed else game_in(folder, game)
        self.proc = subprocess.Popen([path, *args], cwd=folder, env=dict(game_env(xvfb), **(env or {})),
                                     stdout=subprocess.PIPE, stderr=subprocess.PIPE)

    def xdotool(self, *args, timeout=10):
        return subprocess.run(["xdotool", *args], env=self.xvfb.env(), timeout=timeout,
                              capture_output=True, text=True)

    def wait_for_window(self, timeout=20):
        """Seconds from the start to the window on show."""
        deadline = time.monotonic() + timeout
        while time.monotonic() < deadline:
            if self.proc.poll() is not None:
                raise RuntimeError("the game ended at start-up: %s" % self.proc.stderr.read().decode())
            found = self.xdotool("search", "--onlyvisible", "--name", "^Vesk$")
            if found.returncode == 0 and found.stdout.strip():
                return time.monotonic() - self.started
            time.sleep(0.05)
        raise RuntimeError("no window")

    def move(self, x, y):
        self.xdotool("mousemove", str(x), str(y))

    def click(self):
        self.xdotool("click", "1")

    def hold_key(self, key, seconds):
        self.xdotool("keydown", key)
        time.sleep(seconds)
        self.xdotool("keyup", key)

    def cpu_seconds(self):
        with open("/proc/%d/stat" % self.proc.pid) as f:
            fields = f.read().rsplit(")", 1)[1].split()
        ticks = os.sysconf("SC_CLK_TCK")
        return (int(fields[11]) + int(fields[12])) / ticks  # utime + stime

    def cpu_percent(self, seconds):
        before_cpu, before = self.cpu_seconds(), time.monotonic()
        time.sleep(seconds)
        return 100.0 * (self.cpu_seconds() - before_cpu) / (time.monotonic() - before)

    def wait(self, timeout=15):
        try:
            return self.proc.wait(timeout=timeout)
        except subprocess.TimeoutExpired:
            self.kill()
            raise

    def kill(self):
        if self.proc.poll() is None:
            self.proc.kill()
            self.proc.wait()

    def stderr(self):
        return self.proc.stderr.read().decode(errors="replace") if self.proc.stderr else ""


def remove_folder(folder):
    shutil.rmtree(folder, ignore_errors=True)


def send_signal(game, sig=signal.SIGTERM):
    game.proc.send_signal(sig)
