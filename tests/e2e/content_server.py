"""A content server for tests, on 127.0.0.1: fixed replies per path, and the ways a real server fails
(never answering, announcing a body that never comes, resetting the connection, answering with
something that is not HTTP). Every request is recorded (method, path, user agent), in memory and
optionally one line per request in a log file.

In a test:
    with ContentServer(port=8391) as server:
        server.reply("/kovalt/iestart.html", b"....example.com/bye")
        server.stall("/kovalt/index.html")
        ... server.requests ...

From a shell:
    content_server.py --port 8391 --log requests.txt --reply /kovalt/iestart.html=reply.txt --stall /x
    (also --stall_body, --reset, --garbage PATH)
"""

import argparse
import http.server
import os
import socket
import socketserver
import struct
import threading
import time

STALL, STALL_BODY, RESET, GARBAGE = "stall", "stall_body", "reset", "garbage"


class _Handler(http.server.BaseHTTPRequestHandler):
    protocol_version = "HTTP/1.1"

    def do_GET(self):
        server = self.server.owner
        server._record(self.command, self.path, self.headers.get("User-Agent", ""))
        how = server._routes.get(self.path, (404, b"not found"))
        if how == STALL:
            # Accepted and read, never answered: the client must give up on its own.
            server._stopping.wait()
        elif how == STALL_BODY:
            # A reply header promising a body that never comes.
            self.send_response(200)
            self.send_header("Content-Length", "100")
            self.end_headers()
            self.wfile.flush()
            server._stopping.wait()
        elif how == RESET:
            self.connection.setsockopt(socket.SOL_SOCKET, socket.SO_LINGER, struct.pack("ii", 1, 0))
        elif how == GARBAGE:
            self.wfile.write(b"\x00\xffthis is not HTTP\r\n\r\n")
        else:
            status, body = how
            self.send_response(status)
            self.send_header("Content-Type", "text/html")
            self.send_header("Content-Length", str(len(body)))
            self.end_headers()
            self.wfile.write(body)
            return
        self.close_connection = True

    do_POST = do_HEAD = do_GET

    def log_message(self, *args):
        pass


class _Server(socketserver.ThreadingMixIn, http.server.HTTPServer):
    daemon_threads = True
    allow_reuse_address = True

    def handle_error(self, request, client_address):
        pass  # clients that reset or give up are part of the tests


class ContentServer:
    def __init__(self, port=0, log_path=None):
        self._routes = {}
        self._lock = threading.Lock()
        self._stopping = threading.Event()
        self._log_path = log_path
        self.requests = []
        self._httpd = _Server(("127.0.0.1", port), _Handler)
        self._httpd.owner = self
        self.port = self._httpd.server_address[1]
        self.base = "http://127.0.0.1:%d" % self.port
        self._thread = None

    def reply(self, path, body, status=200):
        self._routes[path] = (status, body)

    def stall(self, path):
        self._routes[path] = STALL

    def stall_body(self, path):
        self._routes[path] = STALL_BODY

    def reset(self, path):
        self._routes[path] = RESET

    def garbage(self, path):
        self._routes[path] = GARBAGE

    def requested(self, path, agent=None):
        """The requests for path, from any client or from the one that names itself agent."""
        with self._lock:
            return [r for r in self.requests if r[1] == path and agent in (None, r[2])]

    def _record(self, method, path, agent):
        with self._lock:
            self.requests.append((method, path, agent))
            if self._log_path:
                with open(self._log_path, "a") as f:
                    f.write("%s %s %s\n" % (method, path, agent))

    def start(self):
        self._thread = threading.Thread(target=self._httpd.serve_forever, daemon=True)
        self._thread.start()
        return self

    def stop(self):
        self._stopping.set()
        self._httpd.shutdown()
        self._httpd.server_close()
        self._thread.join(10)

    def __enter__(self):
        return self.start()

    def __exit__(self, *exc):
        self.stop()


KIT = os.path.join(os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__)))), "content",
                   "kovalt")


def serve_kit(port, log_path=None, wait_seconds=60):
    """A server (not yet started) replying with the sample content kit under /kovalt/, once the port
    is free: the test builds' fixed port may still be held by a run that is finishing. None when it
    stays busy."""
    end = time.time() + wait_seconds
    while True:
        try:
            server = ContentServer(port, log_path)
            break
        except OSError:
            if time.time() > end:
                return None
            time.sleep(1)
    for name in sorted(os.listdir(KIT)):
        with open(os.path.join(KIT, name), "rb") as f:
            server.reply("/kovalt/" + name, f.read())
    return server


def main():
    p = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    p.add_argument("--port", type=int, default=0)
    p.add_argument("--log")
    p.add_argument("--reply", action="append", default=[], metavar="PATH=FILE", help="serve FILE's bytes at PATH")
    for mode in (STALL, STALL_BODY, RESET, GARBAGE):
        p.add_argument("--" + mode, action="append", default=[], metavar="PATH")
    a = p.parse_args()
    server = ContentServer(a.port, a.log)
    for route in a.reply:
        path, file = route.split("=", 1)
        with open(file, "rb") as f:
            server.reply(path, f.read())
    for mode in (STALL, STALL_BODY, RESET, GARBAGE):
        for path in getattr(a, mode):
            getattr(server, mode)(path)
    print(server.base, flush=True)
    server._httpd.serve_forever()


if __name__ == "__main__":
    main()
