#!/usr/bin/env python3
"""Plain HTTP server for the download tests: serves one folder on 127.0.0.1.

Usage: http_server.py ROOT PORT_FILE [--port N]

Binds the given port (by default any free one) and then writes the port it got
to PORT_FILE, so a test runner can wait for that file and read it.

A request for /truncated/NAME answers 200 with the Content-Length of the file
NAME but sends only the first half of it and closes the connection: a body cut
off in the middle of the transfer.
"""
import argparse
import functools
import http.server
import os
import sys

TRUNCATED_PREFIX = "/truncated/"


class Handler(http.server.SimpleHTTPRequestHandler):
    # HTTP/1.0: one request per connection, so a cut body ends with the close.
    protocol_version = "HTTP/1.0"

    def do_GET(self):
        if self.path.startswith(TRUNCATED_PREFIX):
            self.send_truncated("/" + self.path[len(TRUNCATED_PREFIX):])
        else:
            super().do_GET()

    def send_truncated(self, path):
        local = self.translate_path(path)
        if not os.path.isfile(local):
            self.send_error(404)
            return
        with open(local, "rb") as f:
            body = f.read()
        self.send_response(200)
        self.send_header("Content-Type", "application/octet-stream")
        self.send_header("Content-Length", str(len(body)))
        self.end_headers()
        self.wfile.write(body[: len(body) // 2])
        self.wfile.flush()
        self.close_connection = True

    def log_message(self, format, *args):
        sys.stderr.write("%s\n" % (format % args))


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("root")
    parser.add_argument("port_file")
    parser.add_argument("--port", type=int, default=0)
    args = parser.parse_args()

    handler = functools.partial(Handler, directory=os.path.abspath(args.root))
    server = http.server.ThreadingHTTPServer(("127.0.0.1", args.port), handler)
    temporary = args.port_file + ".tmp"
    with open(temporary, "w") as f:
        f.write("%d\n" % server.server_address[1])
    os.replace(temporary, args.port_file)
    server.serve_forever()


if __name__ == "__main__":
    main()
