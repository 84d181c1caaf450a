#!/usr/bin/env python3
"""Serves the browser build's page folder on 127.0.0.1: the plain files directly in it, nothing
else. A path into a subfolder, through a symbolic link or out of the folder answers 404. Every
answer says `Cache-Control: no-cache`, so that a reload after a rebuild runs the new page. Once it
listens it prints the page's address; a visitor who leaves mid-download goes unreported.

Usage: scripts/serve-web.py FOLDER PORT (PORT 0: any free port)
"""
import errno
import http.server
import os
import signal
import sys
import urllib.parse


def handler_for(folder):
    class PageFilesOnly(http.server.SimpleHTTPRequestHandler):
        def send_head(self):
            name = urllib.parse.unquote(urllib.parse.urlsplit(self.path).path).lstrip("/")
            name = name or "index.html"
            candidate = os.path.join(folder, name)
            if "/" in name or "\\" in name or name.startswith(".") or \
                    os.path.islink(candidate) or not os.path.isfile(candidate):
                self.send_error(404)
                return None
            self.path = "/" + urllib.parse.quote(name)
            return super().send_head()

        def translate_path(self, path):
            return os.path.join(folder, urllib.parse.unquote(path).lstrip("/"))

        def end_headers(self):
            self.send_header("Cache-Control", "no-cache")
            super().end_headers()

        def log_message(self, *args):
            pass

    return PageFilesOnly


class PageServer(http.server.ThreadingHTTPServer):
    def handle_error(self, request, client_address):
        # A closed tab or a cancelled download: the visitor is gone, nothing went wrong here.
        if not isinstance(sys.exc_info()[1], ConnectionError):
            super().handle_error(request, client_address)


def main():
    # Ctrl+C stops the server as it stops any program: at once, without a traceback.
    signal.signal(signal.SIGINT, signal.SIG_DFL)
    if len(sys.argv) != 3:
        sys.exit(__doc__.strip().splitlines()[-1])
    folder = os.path.abspath(sys.argv[1])
    try:
        port = int(sys.argv[2])
    except ValueError:
        port = -1
    if not 0 <= port <= 65535:
        sys.exit(f"serve-web: the port is a number from 0 to 65535, not {sys.argv[2]!r}")
    try:
        server = PageServer(("127.0.0.1", port), handler_for(folder))
    except OSError as error:
        if error.errno == errno.EADDRINUSE:
            sys.exit(f"serve-web: port {port} is already in use (PORT=NUMBER picks another)")
        sys.exit(f"serve-web: cannot listen on 127.0.0.1:{port}: {error.strerror}")
    port = server.server_address[1]
    print(f"Quiverfall in the browser: http://127.0.0.1:{port}/ (Ctrl+C stops the server)",
          flush=True)
    server.serve_forever()


if __name__ == "__main__":
    main()
