"""The launcher as a user sees it offline: the whole skin painted from the committed artwork, the game
name from Kovalt.ini in white on the start button, and the offline notice where the news pane would be."""

import os
import shutil
import subprocess
import tempfile
import unittest

import harness as h

WINDOW = (31, 60)  # centred on the 1024 x 768 screen
GAME_NAME = "翎川传奇"
BUTTONS = [  # drawing order; where rectangles overlap the later one shows
    ("menu-button.png", (654, 0, 697, 27)),
    ("minimise.png", (696, 0, 739, 27)),
    ("close.png", (737, 0, 778, 27)),
]
START = (398, 556, 585, 611)
CAPTION_ROW = (395, 591, 585, 611)
# The window's shape: central panel and the shorter side panels (corner diagonals left out).
PANELS = [(170, 0, 791, 648), (0, 19, 170, 629), (791, 19, 961, 629)]


def inside(rc, x, y):
    return rc[0] <= x < rc[2] and rc[1] <= y < rc[3]


def over(src, dst):
    """An RGBA pixel laid over an RGB one by its alpha."""
    a = src[3]
    return tuple((s * a + d * (255 - a) + 127) // 255 for s, d in zip(src[:3], dst))


def close_to(a, b, tolerance):
    return all(abs(p - q) <= tolerance for p, q in zip(a, b))


class Skin(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.background = h.art("background.png")
        cls.start = h.art("start.png")
        cls.sprites = {name: h.art(name) for name, _ in BUTTONS}

    def expected_background(self, x, y):
        return over(self.background.pixel(x, y), (0, 0, 0))

    def expected_under_caption(self, x, y):
        return over(self.start.pixel(x - START[0], y - START[1]), self.expected_background(x, y))

    def window_pixel(self, shot, x, y):
        return shot.pixel(WINDOW[0] + x, WINDOW[1] + y)

    def shoot(self, name, ini, env=None):
        """Runs the offline launcher from a folder of its own with this Kovalt.ini; the painted screen."""
        self.assertTrue(h.args.offline, "needs --offline KovaltOffline.exe")
        h.set_root_colour()
        out = h.artifacts_dir("skin")
        with tempfile.TemporaryDirectory() as folder:
            exe = os.path.join(folder, "Kovalt.exe")
            shutil.copy(h.args.offline, exe)
            with open(os.path.join(folder, "Kovalt.ini"), "wb") as f:
                f.write(ini)
            with h.Program(exe, env=env):
                self.assertTrue(h.wait_for_window(), "the window never appeared")
                path = os.path.join(out, name + "-screen.png")
                shot = h.wait_skin_painted(WINDOW, path)
                self.assertIsNotNone(shot, "the skin was never painted")
                window = os.path.join(out, name + "-window.png")
                subprocess.run([h.CONVERT, path, "-crop", "961x648+%d+%d" % WINDOW, "+repage", window], check=True)
                return shot

    def test_offline_window_shows_the_skin_the_name_and_the_offline_notice(self):
        ini = "[main]\r\nGameName=%s\r\nFileName=game.exe\r\n" % GAME_NAME
        shot = self.shoot("offline", ini.encode("utf-16"))
        self.check_background(shot)
        self.check_buttons(shot)
        self.check_start_and_caption(shot)

    def test_an_ansi_settings_file_in_a_chinese_code_page_gives_the_same_caption(self):
        ini = "[main]\r\nGameName = %s\r\n" % GAME_NAME
        ansi = self.shoot("ansi-936", ini.encode("gbk"), env=h.chinese_ansi_env())
        utf16 = self.shoot("utf16", ini.encode("utf-16"))
        self.check_start_and_caption(ansi)
        differ = [(x, y) for y in range(CAPTION_ROW[1], CAPTION_ROW[3]) for x in range(CAPTION_ROW[0], CAPTION_ROW[2])
                  if self.window_pixel(ansi, x, y) != self.window_pixel(utf16, x, y)]
        self.assertEqual([], differ[:5], "the two files give different captions")

    def check_background(self, shot):
        """Everywhere no button lies: the background, the news area's offline notice included."""
        covered = [rc for _, rc in BUTTONS] + [START]
        checked = bad = 0
        notice = set()
        for y in range(1, 648, 6):
            for x in range(1, 961, 6):
                if not any(inside(p, x, y) for p in PANELS) or any(inside(rc, x, y) for rc in covered):
                    continue
                if (x < 170 or x >= 791) and (y < 21 or y >= 627):
                    continue  # the diagonal corners of the shape
                checked += 1
                want = self.expected_background(x, y)
                if self.window_pixel(shot, x, y) != want:
                    bad += 1
                    if bad == 1:
                        first = (x, y, self.window_pixel(shot, x, y), want)
                elif inside((181, 43, 780, 533), x, y):
                    notice.add(want)
        self.assertGreater(checked, 10000)
        self.assertEqual(0, bad, "first difference at (%d, %d): %s, artwork %s" % first if bad else "")
        self.assertGreater(len(notice), 3, "the news area shows the background's offline notice")

    def check_buttons(self, shot):
        """Each title-strip button shows the first row of its sprite (state normal)."""
        for i, (name, rc) in enumerate(BUTTONS):
            sprite = self.sprites[name]
            for y in range(rc[1], rc[3]):
                for x in range(rc[0], rc[2]):
                    if any(inside(later, x, y) for _, later in BUTTONS[i + 1:]):
                        continue
                    src = sprite.pixel(x - rc[0], y)
                    want = over(src, self.expected_background(x, y))
                    got = self.window_pixel(shot, x, y)
                    tolerance = 0 if src[3] in (0, 255) else 2
                    self.assertTrue(close_to(got, want, tolerance), "%s at (%d, %d): %s, sprite row 0 gives %s"
                                    % (name, x, y, got, want))

    def check_start_and_caption(self, shot):
        """The start picture, and on it the name in white, centred on x = 490.5."""
        text = []
        for y in range(START[1], START[3]):
            for x in range(START[0], START[2]):
                got = self.window_pixel(shot, x, y)
                want = self.expected_under_caption(x, y)
                src = self.start.pixel(x - START[0], y - START[1])
                if close_to(got, want, 0 if src[3] in (0, 255) else 2):
                    continue
                self.assertTrue(inside(CAPTION_ROW, x, y), "(%d, %d): %s, start picture %s" % (x, y, got, want))
                self.assertTrue(all(g >= w for g, w in zip(got, want)), "white text only lightens (%d, %d)" % (x, y))
                text.append((x, y, got))
        self.assertGreater(len(text), 30, "no caption on the start button")
        self.assertTrue(any(p == (255, 255, 255) for _, _, p in text), "the caption is white")
        left = min(x for x, _, _ in text)
        right = max(x for x, _, _ in text)
        self.assertAlmostEqual(490.5, (left + right + 1) / 2, delta=1.0, msg="columns %d..%d" % (left, right))


if __name__ == "__main__":
    h.main()
