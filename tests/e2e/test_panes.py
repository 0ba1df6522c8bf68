"""The three web panes as hosted controls: where they sit, which pages they ask the content server
for, online and offline, and a launcher that still works when the web control cannot be made."""

import os
import unittest

import harness as h
from content_server import serve_kit

PORT = 8391
ORIGIN = (31, 60)  # the window's top-left on the 1024 x 768 screen
PAGES = ["/kovalt/index.html", "/kovalt/ad.html", "/kovalt/ad2.html"]
# Control id: place in the window.
PANES = {209: (181, 43, 780, 533), 210: (0, 19, 170, 629), 211: (791, 19, 961, 629)}


class Panes(unittest.TestCase):
    def setUp(self):
        self.log = os.path.join(h.artifacts_dir("panes"), "%s-requests.txt" % self._testMethodName)
        if os.path.exists(self.log):
            os.remove(self.log)
        self.server = serve_kit(PORT, self.log)
        self.assertIsNotNone(self.server, "port %d stays busy" % PORT)
        self.server.start()

    def tearDown(self):
        self.server.stop()

    def logged_pages(self):
        if not os.path.exists(self.log):
            return []
        with open(self.log) as f:
            return [line.split()[1] for line in f if line.split()[1] in PAGES]

    def run_launcher(self, exe, env=None):
        program = h.Program(exe, env=env)
        self.addCleanup(program.__exit__)
        self.assertTrue(h.wait_for_window(), "the window never appeared")
        # The title is set before the panes are made; the window shows once its initialisation is over.
        self.assertTrue(h.wait_until(lambda: (h.window_info() or [0] * 6)[4] == 1, 30), "the window never showed")
        return program

    def close(self, program):
        self.assertEqual(0, program.close(15), "the launcher ends cleanly after a close request")

    def test_online_the_panes_request_their_pages_and_only_the_news_shows(self):
        program = self.run_launcher(h.args.kovalt)
        self.assertTrue(h.wait_until(lambda: len(self.logged_pages()) >= 3, 20), self.logged_pages())
        # Navigated in the order news, left, right; the control downloads them side by side, so they
        # may reach the server in any order.
        self.assertEqual(sorted(PAGES), sorted(self.logged_pages()[:3]))
        for nid, rect in PANES.items():
            # The adverts show only at their completion event, which this control never sends.
            self.assertEqual((rect, nid == 209), h.child_window(nid), nid)
        self.close(program)

    def test_offline_nothing_is_requested_and_every_pane_is_hidden(self):
        self.assertTrue(h.args.offline, "needs --offline KovaltOffline.exe")
        program = self.run_launcher(h.args.offline)
        for nid, rect in PANES.items():
            self.assertEqual((rect, False), h.child_window(nid), nid)
        self.close(program)
        self.assertEqual([], self.server.requests)

    def test_without_the_web_control_the_launcher_still_starts_paints_and_closes(self):
        h.set_root_colour()
        env = {"WINEDLLOVERRIDES": os.environ.get("WINEDLLOVERRIDES", "") + ";ieframe=d"}
        program = self.run_launcher(h.args.kovalt, env)
        for nid in PANES:
            self.assertIsNone(h.child_window(nid), "no window for pane %d" % nid)
        background = h.art("background.png")
        shot_path = os.path.join(h.artifacts_dir("panes"), "no-control.png")
        points = [(480, 288), (200, 60), (85, 300), (876, 300)]

        def painted():
            shot = h.screenshot(shot_path)
            return all(shot.pixel(ORIGIN[0] + x, ORIGIN[1] + y) == background.pixel(x, y)[:3] for x, y in points)

        self.assertTrue(h.wait_until(painted, 20), "the background shows where the panes would be")
        self.assertTrue(program.alive())
        self.close(program)
        self.assertEqual([], self.logged_pages())


if __name__ == "__main__":
    h.main()
