"""The launcher as a user drives it with the mouse: title-strip buttons, the skinned menu and its
commands, minimise, advert and logo links, the start button and dragging by the title strip.
Offline, so the advert panes are hidden and the strips take the clicks."""

import os
import shutil
import time
import unittest

import harness as h

ORIGIN = (31, 60)  # the window's top-left on the 1024 x 768 screen
# Buttons: rectangle left, top, width, sprite picture.
BUTTONS = {"menu": (654, 0, 43, "menu-button.png"), "min": (696, 0, 43, "minimise.png"),
           "close": (737, 0, 41, "close.png")}
CENTRE = {"menu": (670, 13), "min": (716, 13), "close": (760, 13)}
PLAIN = (300, 600)
SITE = "http://127.0.0.1:8391/site"
CONTENT = "http://127.0.0.1:8391/kovalt"


class PointerAndMenu(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.exe, cls.capture, cls.record = h.launcher_folder(
            "kovalt-pointer-", h.args.offline, "[main]\nGameName=Pointer\nFileName=Game.exe\nCanShu=-fast \"two words\"\n")
        cls.shots = h.artifacts_dir("pointer_menu")
        cls.art = {name: h.art(name) for name in ["background.png", "menu-button.png", "minimise.png", "close.png",
                                                  "menu-normal.png", "menu-selected.png"]}

    @classmethod
    def tearDownClass(cls):
        shutil.rmtree(os.path.dirname(cls.exe), ignore_errors=True)

    def start(self):
        for f in (self.capture, self.record):
            if os.path.exists(f):
                os.remove(f)
        env = {"KOVALT_CAPTURE_FILE": self.capture, "KOVALT_STANDIN_RECORD": self.record}
        program = h.Program(self.exe, env=env)
        self.assertTrue(h.wait_for_window(), "the window never appeared")
        self.assertIsNotNone(h.wait_skin_painted(ORIGIN, os.path.join(self.shots, "start.png")), "never painted")
        h.move(ORIGIN, *PLAIN)
        return program

    def captured(self, count, seconds=10):
        """The addresses the shell was asked to open, once there are `count` of them (or time is up)."""
        def urls():
            if not os.path.exists(self.capture):
                return []
            with open(self.capture) as f:
                return f.read().split()
        h.wait_until(lambda: len(urls()) >= count, seconds)
        return urls()

    def shot(self, name):
        return h.screenshot(os.path.join(self.shots, name + ".png"))

    def sprite_row_shown(self, shot, button, origin=ORIGIN):
        """Which sprite row (0, 1, 2) the screen shows for a button, judged on its opaque pixels."""
        left, top, width, picture = BUTTONS[button]
        sprite = self.art[picture]
        columns = range(3, min(width, sprite.width) - 3) if button != "min" else range(3, 38)
        for row in range(3):
            match = True
            for x in columns:
                for y in (5, 13, 20):
                    px = sprite.pixel(x, row * 27 + y)
                    if px[3] == 255 and shot.pixel(origin[0] + left + x, origin[1] + top + y) != px[:3]:
                        match = False
            if match:
                return row
        return None

    def rows(self, shot, origin=ORIGIN):
        return tuple(self.sprite_row_shown(shot, b, origin) for b in ("menu", "min", "close"))

    def menu_origin(self, shot, anchor):
        """Top-left of the menu's pictures on screen, searched near the anchor (the menu window may
        paint a frame of its own inside its area)."""
        normal = self.art["menu-normal.png"]
        samples = [(x, y) for x in (10, 40, 70, 95) for y in (5, 15, 40, 75, 100, 140)]
        for dy in range(0, 6):
            for dx in range(0, 6):
                if all(shot.pixel(anchor[0] + dx + x, anchor[1] + dy + y) == normal.pixel(x, y)[:3]
                       or shot.pixel(anchor[0] + dx + x, anchor[1] + dy + y)
                       == self.art["menu-selected.png"].pixel(x, y)[:3] for x, y in samples):
                    return anchor[0] + dx, anchor[1] + dy
        return None

    def test_title_strip_buttons_follow_the_pointer(self):
        with self.start():
            self.assertEqual((0, 0, 0), self.rows(self.shot("normal")))
            cases = [("menu", (1, 0, 0)), ("min", (0, 1, 0)), ("close", (0, 0, 1))]
            for button, expected in cases:
                h.move(ORIGIN, *CENTRE[button])
                self.assertEqual(expected, self.rows(self.shot("hover-" + button)), button)
            # x = 696 acts as the menu button, 737 as minimise
            h.move(ORIGIN, 696, 13)
            self.assertEqual((1, 0, 0), self.rows(self.shot("hover-696")))
            h.move(ORIGIN, 737, 13)
            self.assertEqual((0, 1, 0), self.rows(self.shot("hover-737")))

            h.move(ORIGIN, *CENTRE["close"])
            h.xdo("mousedown", 1)
            time.sleep(0.4)
            self.assertEqual((0, 0, 2), self.rows(self.shot("pressed-close")))
            h.move(ORIGIN, *PLAIN)
            self.assertEqual((0, 0, 0), self.rows(self.shot("pressed-then-off")))
            h.xdo("mouseup", 1)
            time.sleep(0.4)
            self.assertTrue(h.wait_for_window(seconds=1), "releasing off the button fires nothing")

    def test_menu_opens_under_its_button_and_runs_page_commands(self):
        items = [SITE, "http://127.0.0.1:8391/forum", SITE + "/sitemap.html", SITE + "/tool.html"]
        with self.start():
            anchor = (ORIGIN[0] + 654, ORIGIN[1] + 27)
            for n, url in enumerate(items):
                h.click(ORIGIN, *CENTRE["menu"])
                shot = self.shot("menu-%d" % n)
                origin = self.menu_origin(shot, anchor)
                self.assertIsNotNone(origin, "the menu's pictures are not at the anchor")
                # The hovered item shows its slice of the selected picture, the others the normal one.
                h.xdo("mousemove", origin[0] + 50, origin[1] + 30 * n + 15)
                time.sleep(0.5)
                shot = self.shot("menu-hover-%d" % n)
                for row in range(5):
                    picture = self.art["menu-selected.png" if row == n else "menu-normal.png"]
                    for x, y in [(20, 30 * row + 10), (60, 30 * row + 20)]:
                        self.assertEqual(picture.pixel(x, y)[:3], shot.pixel(origin[0] + x, origin[1] + y),
                                         "item %d while %d is hovered" % (row, n))
                h.xdo("click", 1)
                self.assertEqual(items[:n + 1], self.captured(n + 1))
                self.assertTrue(h.wait_for_window(seconds=1), "a page command leaves the launcher open")

            h.click(ORIGIN, *CENTRE["menu"])
            h.xdo("key", "Escape")
            time.sleep(1)
            self.assertEqual(items, self.captured(len(items), seconds=1), "Escape sends no command")

    def test_menu_exit_item_closes_the_launcher(self):
        with self.start() as kovalt:
            h.click(ORIGIN, *CENTRE["menu"])
            origin = self.menu_origin(self.shot("menu-exit"), (ORIGIN[0] + 654, ORIGIN[1] + 27))
            self.assertIsNotNone(origin)
            h.xdo("mousemove", origin[0] + 50, origin[1] + 135)
            time.sleep(0.3)
            h.xdo("click", 1)
            self.assertEqual(0, kovalt.wait(20))

    def test_links_start_button_and_minimise(self):
        with self.start():
            h.click(ORIGIN, 85, 300)  # left advert strip
            h.click(ORIGIN, 876, 300)  # right advert strip
            h.click(ORIGIN, 220, 20)  # logo
            self.assertEqual([CONTENT + "/ad.html", CONTENT + "/ad2.html", SITE + "/"], self.captured(3))

            # press elsewhere, move onto the start button, release there: the game starts
            h.move(ORIGIN, *PLAIN)
            h.xdo("mousedown", 1)
            h.move(ORIGIN, 490, 575)
            h.xdo("mouseup", 1)
            self.assertTrue(h.wait_until(lambda: os.path.exists(self.record), 10), "the game did not start")
            with open(self.record, encoding="utf-8") as f:
                self.assertIn('-fast "two words"', f.read())
            self.assertTrue(h.wait_for_window(seconds=1), "the launcher stays open")

            h.click(ORIGIN, *CENTRE["min"])
            self.assertTrue(h.wait_until(lambda: (h.window_info() or [0] * 6)[5] == 1, 5), "not minimised")

    def test_drag_by_the_title_strip_then_menu(self):
        with self.start():
            h.move(ORIGIN, 400, 20)
            h.xdo("mousedown", 1)
            for step in range(1, 6):
                h.xdo("mousemove", ORIGIN[0] + 400 + 10 * step, ORIGIN[1] + 20 + 6 * step)
                time.sleep(0.1)
            h.xdo("mouseup", 1)
            time.sleep(0.5)
            info = h.window_info()
            self.assertEqual((ORIGIN[0] + 50, ORIGIN[1] + 30), (info[0], info[1]), "the window did not follow")
            moved = (info[0], info[1])
            h.click(moved, *CENTRE["menu"])
            self.assertIsNotNone(self.menu_origin(self.shot("menu-after-drag"), (moved[0] + 654, moved[1] + 27)))
            h.xdo("key", "Escape")


if __name__ == "__main__":
    h.main()
