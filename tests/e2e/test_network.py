"""The exit page from outside: the built launcher against a content server on 127.0.0.1:8391, the
address the shell hands to the browser (recorded by tests/tools/capture-url), a network that is
down at start or at close, and content servers that fail.

The probe host of the test build is `localhost`. To take the network away while the launcher runs,
it is started in a mount namespace of its own whose /etc/hosts is a file the test rewrites: the
name resolves while the file lists it.

The launcher sends its program name as its user agent. Other launchers on this machine may ask the
same port for pages, so the test runs copies under names of its own and counts only their requests."""

import os
import shutil
import time
import unittest

import harness as h
from content_server import ContentServer

PORT = 8391
EXIT_PAGE = "/kovalt/iestart.html"
ONLINE_HOSTS = "127.0.0.1 localhost\n"
# The browser runs after the launcher has ended; nothing recorded by then means nothing was opened.
SETTLE_SECONDS = 4
AGENT, OFFLINE_AGENT = "KovaltNetworkTest", "KovaltNetworkTestOffline"


class Network(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        d = h.artifacts_dir("network")
        cls.kovalt = shutil.copy(h.args.kovalt, os.path.join(d, AGENT + ".exe"))
        cls.offline = shutil.copy(h.args.offline, os.path.join(d, OFFLINE_AGENT + ".exe"))

    def setUp(self):
        self.dir = h.artifacts_dir(os.path.join("network", self._testMethodName))
        self.captured_path = os.path.join(self.dir, "captured-urls.txt")
        self.hosts = os.path.join(self.dir, "hosts")
        for path in (self.captured_path, os.path.join(self.dir, "requests.txt")):
            if os.path.exists(path):
                os.remove(path)
        self.server = None

    def tearDown(self):
        if self.server:
            self.server.stop()

    def serve(self, body=None, status=200):
        self.server = ContentServer(PORT, os.path.join(self.dir, "requests.txt")).start()
        if body is not None:
            self.server.reply(EXIT_PAGE, body, status)
        return self.server

    def set_network(self, online):
        # Rewritten in place: the bind mount holds on to this file.
        with open(self.hosts, "w") as f:
            f.write(ONLINE_HOSTS if online else "")

    def start(self, exe=None, env=None, own_network=False):
        prefix = ()
        if own_network:
            prefix = ("unshare", "-m", "sh", "-c", 'mount --bind "$0" /etc/hosts && exec "$@"', self.hosts)
        env = {"KOVALT_CAPTURE_FILE": self.captured_path, **(env or {})}
        started = time.monotonic()
        program = h.Program(exe or self.kovalt, env=env, prefix=prefix)
        self.addCleanup(program.__exit__)
        self.assertTrue(h.wait_for_window(), "the window never appeared")
        return program, time.monotonic() - started

    def close(self, program):
        self.assertEqual(0, program.close(), "the launcher ends cleanly after a close request")
        self.assertFalse(h.wait_for_window(seconds=1), "the window is gone")

    def captured(self, expect_some):
        if expect_some:
            h.wait_until(lambda: os.path.exists(self.captured_path), 15)
        else:
            time.sleep(SETTLE_SECONDS)
        if not os.path.exists(self.captured_path):
            return []
        with open(self.captured_path, encoding="utf-8", newline="") as f:
            return f.read().split("\n")[:-1]

    def exit_page_requests(self):
        return self.server.requested(EXIT_PAGE, AGENT) if self.server else []

    # --- the reply

    # Under Wine the browser is given the address in canonical form: a bare host gains its "/", and a
    # line break is dropped (network_tests sees the address itself, line breaks included). Wine's
    # shell also fails on addresses of about 980 characters or more, so the replies that fill the
    # whole read are checked there too.
    def test_replies(self):
        cases = [
            # (reply body, HTTP status, what the browser is given; None: nothing opened)
            (b"", 200, None),
            (b"abcd", 200, None),
            (b"abcde", 200, "http://e/"),
            (b"....example.com/bye?from=kovalt", 200, "http://example.com/bye?from=kovalt"),
            (b"1234a.example/before\0/after-the-zero", 200, "http://a.example/before"),
            (b"1234long.example/" + b"x" * 880 + b"\0" + b"y" * 2000, 200, "http://long.example/" + "x" * 880),
            (b"1234error.example/page", 404, "http://error.example/page"),
            (b'1234q.example/a b"c"\td', 200, "http://q.example/a%20b%22c%22%09d"),
        ]
        self.serve()
        for body, status, expected in cases:
            with self.subTest(body=body[:40], status=status):
                if os.path.exists(self.captured_path):
                    os.remove(self.captured_path)
                self.server.reply(EXIT_PAGE, body, status)
                program, _ = self.start()
                with program:
                    self.close(program)
                self.assertEqual([expected] if expected else [], self.captured(expected is not None))
        self.assertEqual(len(cases), len(self.exit_page_requests()), "one request per start")

    def test_four_characters_not_four_bytes_under_a_chinese_ansi_code_page(self):
        # 你好 then "ab": four characters in six bytes of code page 936.
        self.serve("你好ab".encode("gbk") + b"cn.example/bye")
        program, _ = self.start(env=h.chinese_ansi_env())
        self.close(program)
        self.assertEqual(["http://cn.example/bye"], self.captured(True))

    # --- content servers that fail: no exit page, and the window still comes up

    def test_failing_content_servers_delay_the_window_only_briefly(self):
        cases = [("not listening", None), ("never answers", "stall"),
                 ("sends a header and no body", "stall_body"), ("resets", "reset"),
                 ("answers garbage", "garbage")]
        self.serve(b"....baseline.example/")
        _, baseline = self.start_and_close_expecting(["http://baseline.example/"])
        print("\n  window after %.1f s with a working content server" % baseline)
        for name, failure in cases:
            with self.subTest(server=name):
                if self.server:
                    self.server.stop()
                    self.server = None
                if failure:
                    getattr(self.serve(), failure)(EXIT_PAGE)
                _, seconds = self.start_and_close_expecting([])
                print("  window after %.1f s when the content server %s" % (seconds, name))
                self.assertLess(seconds, 6.0)

    def start_and_close_expecting(self, urls):
        if os.path.exists(self.captured_path):
            os.remove(self.captured_path)
        program, seconds = self.start()
        with program:
            self.close(program)
        self.assertEqual(urls, self.captured(bool(urls)))
        return program, seconds

    # --- the probe at start and at close

    def test_offline_at_start_asks_nothing_and_opens_nothing(self):
        self.serve(b"....offline.example/")
        program, _ = self.start(self.offline)
        self.close(program)
        self.assertEqual([], [r for r in self.server.requests if r[2] == OFFLINE_AGENT],
                         "no request reaches the content server")
        self.assertEqual([], self.captured(False))

    def test_online_at_start_and_at_close_opens_the_exit_page(self):
        self.set_network(True)
        self.serve(b"....both.example/bye")
        program, _ = self.start(own_network=True)
        self.assertEqual(1, len(self.exit_page_requests()))
        self.close(program)
        self.assertEqual(["http://both.example/bye"], self.captured(True))

    def test_online_at_start_offline_at_close_opens_nothing(self):
        self.set_network(True)
        self.serve(b"....start-only.example/")
        program, _ = self.start(own_network=True)
        self.assertEqual(1, len(self.exit_page_requests()), "the exit page was fetched")
        self.set_network(False)
        self.close(program)
        self.assertEqual([], self.captured(False))

    def test_offline_at_start_online_at_close_opens_nothing(self):
        self.set_network(False)
        self.serve(b"....close-only.example/")
        program, _ = self.start(own_network=True)
        self.set_network(True)
        self.close(program)
        self.assertEqual([], self.exit_page_requests(), "nothing was fetched at start")
        self.assertEqual([], self.captured(False))


if __name__ == "__main__":
    h.main()
