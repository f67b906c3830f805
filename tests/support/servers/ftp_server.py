#!/usr/bin/env python3
"""Anonymous, read-only FTP server for the download tests (pyftpdlib).

Usage: ftp_server.py ROOT READY_FILE [--port 21] [--wait SECONDS]

Serves ROOT on 127.0.0.1 (port 21 by default: the downloader always connects
there, so this needs root). While another test run holds the port, it keeps
trying for up to --wait seconds. Once listening it writes READY_FILE.
"""
import argparse
import errno
import logging
import os
import sys
import time

from pyftpdlib.authorizers import DummyAuthorizer
from pyftpdlib.handlers import FTPHandler
from pyftpdlib.servers import FTPServer


def bind(address, handler, wait_seconds):
    deadline = time.monotonic() + wait_seconds
    while True:
        try:
            return FTPServer(address, handler)
        except OSError as error:
            # Only a busy port is worth waiting for; a refusal will not change.
            if error.errno == errno.EACCES:
                sys.exit("ftp_server: not allowed to listen on %s:%d (port 21 needs root): %s"
                         % (address + (error,)))
            if time.monotonic() >= deadline:
                sys.exit("ftp_server: cannot listen on %s:%d: %s" % (address + (error,)))
            time.sleep(0.5)


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("root")
    parser.add_argument("ready_file")
    parser.add_argument("--port", type=int, default=21)
    parser.add_argument("--wait", type=float, default=120.0)
    args = parser.parse_args()

    logging.basicConfig(level=logging.WARNING)
    authorizer = DummyAuthorizer()
    authorizer.add_anonymous(os.path.abspath(args.root), perm="elr")
    handler = FTPHandler
    handler.authorizer = authorizer

    server = bind(("127.0.0.1", args.port), handler, args.wait)
    with open(args.ready_file, "w") as f:
        f.write("%d\n" % args.port)
    server.serve_forever()


if __name__ == "__main__":
    main()
