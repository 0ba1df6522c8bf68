"""Drives the built Windows programs under Wine and Xvfb from outside: processes, windows seen through
xdotool and a small Windows tool, screenshots read back as pixels."""

import argparse
import os
import shutil
import subprocess
import sys
import tempfile
import time
import unittest

TITLE = "翎川网启动客户端"
ROOT_COLOUR = (0x20, 0x40, 0x60)  # what the screen shows where no window is
CONVERT = "/usr/bin/convert"  # an earlier `convert` on PATH may be a stand-in
SOURCE = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))

args = None


def parse_args():
    global args
    p = argparse.ArgumentParser()
    p.add_argument("--build", required=True)
    p.add_argument("--kovalt", required=True)
    p.add_argument("--wintool", required=True)
    p.add_argument("--offline")
    p.add_argument("--standin")
    args, rest = p.parse_known_args()
    return [sys.argv[0]] + rest


def main():
    argv = parse_args()
    unittest.main(argv=argv, verbosity=2)


def run(cmd, timeout=60, **kw):
    return subprocess.run(cmd, timeout=timeout, capture_output=True, text=True, **kw)


def set_root_colour():
    run(["xsetroot", "-solid", "#%02x%02x%02x" % ROOT_COLOUR])


def artifacts_dir(name):
    d = os.path.join(args.build, "e2e", name)
    os.makedirs(d, exist_ok=True)
    return d


class Program:
    """A Windows program started under Wine (behind `prefix`, a command that runs the rest); stopped on
    exit of the with-block if still running."""

    def __init__(self, exe, cwd=None, env=None, prefix=()):
        self.exe = exe = os.path.abspath(exe)
        self.proc = subprocess.Popen([*prefix, "wine", exe], cwd=cwd or os.path.dirname(exe),
                                     env={**os.environ, **(env or {})}, stdout=subprocess.DEVNULL,
                                     stderr=subprocess.DEVNULL)

    def __enter__(self):
        return self

    def __exit__(self, *exc):
        if self.proc.poll() is None and self.close() is None:
            self.proc.kill()
            self.proc.wait()

    def close(self, timeout=15):
        """Sends the launcher's window a close request; the exit code, or None when the request could
        not be sent or the process did not end in time."""
        if wintool("close", TITLE) != 0:
            return None
        try:
            return self.proc.wait(timeout)
        except subprocess.TimeoutExpired:
            return None

    def wait(self, timeout):
        return self.proc.wait(timeout)

    def alive(self):
        return self.proc.poll() is None


def restart_wineserver():
    # Wine's services outlive the call that starts them: keep them off our output pipes.
    quiet = dict(stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, timeout=60)
    subprocess.run(["wineserver", "-k"], **quiet)
    subprocess.run(["wineserver", "-p"], **quiet)
    subprocess.run(["wine", "cmd", "/c", "exit"], **quiet)


def launcher_folder(prefix, exe, ini):
    """A folder of its own for one launcher: a copy of exe as Kovalt.exe, the stand-in game as
    Game.exe and Kovalt.ini with the given text. Returns the launcher's path, the file that records the
    addresses the shell opens and the file the game records its starts in (pass them to the program
    as KOVALT_CAPTURE_FILE and KOVALT_STANDIN_RECORD)."""
    folder = tempfile.mkdtemp(prefix=prefix)
    shutil.copy(args.standin, os.path.join(folder, "Game.exe"))
    with open(os.path.join(folder, "Kovalt.ini"), "w") as f:
        f.write(ini)
    return shutil.copy(exe, os.path.join(folder, "Kovalt.exe")), os.path.join(folder, "urls.txt"), \
        os.path.join(folder, "game.txt")


def chinese_ansi_env():
    """Environment for a Wine program to run with the Chinese ANSI code page (936): a GBK locale,
    compiled once into the build folder."""
    locales = os.path.join(args.build, "e2e", "locales")
    if not os.path.isdir(os.path.join(locales, "zh_CN.GBK")):
        os.makedirs(locales, exist_ok=True)
        subprocess.run(["localedef", "-i", "zh_CN", "-f", "GBK", os.path.join(locales, "zh_CN.GBK")],
                       check=True, capture_output=True, timeout=120)
    return {"LOCPATH": locales, "LC_ALL": "zh_CN.GBK"}


def wintool(*argv, timeout=30, wine_args=()):
    # No pipes: a process that Wine starts on the way (a virtual desktop's explorer) may outlive the
    # call and would hold them open. The tool answers through its exit code and files.
    return subprocess.run(["wine", *wine_args, args.wintool, *argv], timeout=timeout, stdout=subprocess.DEVNULL,
                          stderr=subprocess.DEVNULL).returncode


def wait_for_window(title=TITLE, seconds=20):
    return wintool("wait", title, str(seconds), timeout=seconds + 20) == 0


def window_info(title=TITLE):
    """left, top, right, bottom, visible, iconic"""
    with tempfile.TemporaryDirectory() as d:
        out = os.path.join(d, "rect.txt")
        if wintool("rect", title, out) != 0:
            return None
        with open(out) as f:
            return [int(v) for v in f.read().split()]


def child_window(nid):
    """(left, top, right, bottom, visible) of the main window's child with that id, or None."""
    with tempfile.TemporaryDirectory() as d:
        out = os.path.join(d, "child.txt")
        code = wintool("child", TITLE, str(nid), out)
        if code == 6:
            return None
        assert code == 0, "wintool child failed with %d" % code
        with open(out) as f:
            v = [int(x) for x in f.read().split()]
        return tuple(v[:4]), bool(v[4])


def x_window(title=TITLE):
    r = run(["xdotool", "search", "--name", "^%s$" % title])
    ids = r.stdout.split()
    return ids[0] if ids else None


def x_geometry(wid):
    """(x, y, width, height) of an X window as the X server has it."""
    r = run(["xdotool", "getwindowgeometry", "--shell", wid])
    v = dict(line.split("=", 1) for line in r.stdout.split())
    return int(v["X"]), int(v["Y"]), int(v["WIDTH"]), int(v["HEIGHT"])


class Image:
    """RGB(A) pixels of a picture file, read through ImageMagick."""

    def __init__(self, path, alpha=False):
        self.path = path
        fmt = "rgba" if alpha else "rgb"
        self.channels = 4 if alpha else 3
        size = run([CONVERT, path, "-format", "%w %h", "info:"]).stdout.split()
        self.width, self.height = int(size[0]), int(size[1])
        self.data = subprocess.run([CONVERT, path, "-depth", "8", fmt + ":-"], capture_output=True,
                                   check=True).stdout

    def pixel(self, x, y):
        i = (y * self.width + x) * self.channels
        return tuple(self.data[i:i + self.channels])


def screenshot(path):
    subprocess.run(["import", "-window", "root", path], check=True, timeout=60)
    return Image(path)


def art(name):
    return Image(os.path.join(SOURCE, "launcher", "res", "art", name), alpha=True)


def xdo(*argv):
    subprocess.run(["xdotool", *map(str, argv)], check=True, timeout=30)


def move(origin, x, y):
    """Moves the pointer to (x, y) of a window whose top-left is at origin, and lets it settle."""
    xdo("mousemove", origin[0] + x, origin[1] + y)
    time.sleep(0.4)


def click(origin, x, y):
    move(origin, x, y)
    xdo("click", 1)
    time.sleep(0.6)


def wait_skin_painted(origin, path, seconds=20):
    """Waits until the window at `origin` shows the skin's background (opaque points away from the
    buttons, the panes and the caption) and returns that screenshot, or None."""
    background = art("background.png")
    points = [(300, 600), (100, 15 + 19), (860, 600), (480, 20 + 16)]
    shot = None

    def painted():
        nonlocal shot
        shot = screenshot(path)
        return all(shot.pixel(origin[0] + x, origin[1] + y) == background.pixel(x, y)[:3] for x, y in points)

    return shot if wait_until(painted, seconds, step=0.5) else None


def wait_until(predicate, seconds=10, step=0.2):
    end = time.time() + seconds
    while time.time() < end:
        if predicate():
            return True
        time.sleep(step)
    return predicate()
