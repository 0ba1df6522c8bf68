"""Whole journeys as a player meets the launcher, driven only from outside: the mouse, the screen, the
content server's log, what the shell was asked to open and what the stand-in game recorded."""

import os
import shutil
import time
import unittest

import harness as h
from content_server import KIT, serve_kit

PORT = 8391
ORIGIN = (31, 60)
NEWS_AREA = (181, 43, 780, 533)


def read(path):
    if not os.path.exists(path):
        return ""
    with open(path, encoding="utf-8") as f:
        return f.read()


class Journeys(unittest.TestCase):
    def setUp(self):
        self.shots = h.artifacts_dir("journeys")
        self.background = h.art("background.png")

    def launch(self, exe):
        target, self.capture, self.record = h.launcher_folder(
            "kovalt-journey-", exe, "[main]\nGameName=Journey\nFileName=Game.exe\nCanShu=-journey\n")
        self.addCleanup(shutil.rmtree, os.path.dirname(target), True)
        program = h.Program(target, env={"KOVALT_CAPTURE_FILE": self.capture, "KOVALT_STANDIN_RECORD": self.record})
        self.addCleanup(program.__exit__)
        self.assertTrue(h.wait_for_window(), "the window never appeared")
        shot = h.wait_skin_painted(ORIGIN, os.path.join(self.shots, self._testMethodName + "-start.png"))
        self.assertIsNotNone(shot, "the skin was never painted")
        return program, shot

    def news_area_shows_the_notice(self, shot):
        left, top, right, bottom = NEWS_AREA
        points = [(x, y) for x in range(left + 10, right - 10, 37) for y in range(top + 10, bottom - 10, 29)]
        same = sum(shot.pixel(ORIGIN[0] + x, ORIGIN[1] + y) == self.background.pixel(x, y)[:3] for x, y in points)
        return same == len(points)

    def start_game(self):
        h.click(ORIGIN, 490, 575)
        self.assertTrue(h.wait_until(lambda: "-journey" in read(self.record), 10), "the game did not start")

    def close(self, program):
        self.assertEqual(0, program.close(20), "the launcher ends cleanly after a close request")

    def test_offline_start_shows_the_notice_starts_the_game_and_opens_nothing_at_close(self):
        program, shot = self.launch(h.args.offline)
        self.assertTrue(self.news_area_shows_the_notice(shot), "the offline notice is covered")
        self.start_game()
        self.close(program)
        time.sleep(1)
        self.assertEqual("", read(self.capture), "nothing is opened offline")

    def test_online_start_loads_the_panes_and_opens_the_exit_page_at_close(self):
        log = os.path.join(self.shots, "online-requests.txt")
        if os.path.exists(log):
            os.remove(log)
        server = serve_kit(PORT, log)
        self.assertIsNotNone(server, "port %d stays busy" % PORT)
        with server:
            program, _ = self.launch(h.args.kovalt)
            pages = ["/kovalt/iestart.html", "/kovalt/index.html", "/kovalt/ad.html", "/kovalt/ad2.html"]
            self.assertTrue(h.wait_until(lambda: all(server.requested(p) for p in pages), 20), server.requests)
            # The news pane is up over the notice (this web control renders nothing to look at).
            self.assertEqual((NEWS_AREA, True), h.child_window(209))

            self.start_game()
            h.click(ORIGIN, 670, 13)  # the menu
            h.xdo("mousemove", ORIGIN[0] + 654 + 50, ORIGIN[1] + 27 + 45)  # its second item, the forum
            time.sleep(0.4)
            h.xdo("click", 1)
            self.assertTrue(h.wait_until(lambda: "/forum" in read(self.capture), 10), read(self.capture))
            self.close(program)
        # content/kovalt/iestart.html names the exit page after four ignored characters
        with open(os.path.join(KIT, "iestart.html"), "rb") as f:
            exit_page = "http://" + f.read().decode("ascii")[4:]
        self.assertTrue(h.wait_until(lambda: exit_page in read(self.capture).split(), 10), read(self.capture))

    def test_minimise_and_restore_repaints_everything(self):
        program, before = self.launch(h.args.offline)
        h.click(ORIGIN, 716, 13)  # minimise
        self.assertTrue(h.wait_until(lambda: (h.window_info() or [0] * 6)[5] == 1, 5), "not minimised")
        self.assertEqual(0, h.wintool("restore", h.TITLE))
        self.assertTrue(h.wait_until(lambda: (h.window_info() or [0] * 6)[5] == 0, 5), "not restored")
        h.xdo("mousemove", 5, 5)  # off the window, so no button shows hover
        after = h.wait_skin_painted(ORIGIN, os.path.join(self.shots, "restored.png"))
        self.assertIsNotNone(after)
        differ = [(x, y) for x in range(0, 961, 7) for y in range(0, 648, 7)
                  if before.pixel(ORIGIN[0] + x, ORIGIN[1] + y) != after.pixel(ORIGIN[0] + x, ORIGIN[1] + y)]
        self.assertEqual([], differ[:10], "the restored window differs from the first paint")
        self.close(program)


if __name__ == "__main__":
    h.main()
