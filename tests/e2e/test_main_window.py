"""The launcher's window as X11 shows it: placement, shape, and a close request ending the process."""

import os
import unittest

import harness as h


class MainWindow(unittest.TestCase):
    def test_centred_shaped_and_closes_cleanly(self):
        h.set_root_colour()
        with h.Program(args().kovalt) as kovalt:
            self.assertTrue(h.wait_for_window(), "the window never appeared")
            # The title is set before the initialisation ends; X has the window once it is shown.
            self.assertTrue(h.wait_until(lambda: h.x_window() is not None, 20), "the window was never shown")
            wid = h.x_window()
            # 1024 x 768 screen: ((1024 - 961) / 2, (768 - 648) / 2)
            self.assertEqual((31, 60, 961, 648), h.x_geometry(wid))
            shot = h.wait_skin_painted((31, 60), os.path.join(h.artifacts_dir("main_window"), "window.png"))
            self.assertIsNotNone(shot, "the window was never painted")
            for x, y in [(10, 10), (955, 640), (160, 5), (5, 635), (958, 10)]:
                self.assertEqual(h.ROOT_COLOUR, shot.pixel(31 + x, 60 + y), "(%d, %d) is outside the shape" % (x, y))
            for x, y in [(480, 300), (5, 25), (955, 620), (175, 2), (480, 645)]:
                self.assertNotEqual(h.ROOT_COLOUR, shot.pixel(31 + x, 60 + y), "(%d, %d) is inside" % (x, y))

            self.assertEqual(0, kovalt.close(), "the process ends cleanly after a close request")
            self.assertFalse(h.wait_for_window(seconds=1))

    def test_centred_on_a_smaller_screen_truncating_toward_zero(self):
        # One process on an 800 x 600 virtual desktop starts the launcher, reads its window and closes
        # it: the desktop's explorer lives as long as its windows, so nothing else may start it.
        out = os.path.join(h.artifacts_dir("main_window"), "rect-800x600.txt")
        if os.path.exists(out):
            os.remove(out)
        try:
            h.wintool("run-rect", args().offline, h.TITLE, out, timeout=120,
                      wine_args=["explorer", "/desktop=kovalt800,800x600"])
            self.assertTrue(h.wait_until(lambda: os.path.exists(out) and os.path.getsize(out) > 0, 30))
            with open(out) as f:
                rect = [int(v) for v in f.read().split()]
            # (800 - 961) / 2 = -80 and (600 - 648) / 2 = -24, not -81
            self.assertEqual([-80, -24, 881, 624], rect[:4])
        finally:
            # The virtual desktop's screen size sticks to the running wineserver: start a fresh one.
            h.restart_wineserver()


def args():
    return h.args


if __name__ == "__main__":
    h.main()
