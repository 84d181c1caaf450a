#!/usr/bin/env python3
"""Serves the browser build's page folder on 127.0.0.1: the plain files directly in it, nothing
else. A path into a subfolder, through a symbolic link or out of the folder answers 404.

Usage: scripts/serve-web.py FOLDER PORT
"""
import http.server
import os
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

        def log_message(self, *args):
            pass

    return PageFilesOnly


def main():
    if len(sys.argv) != 3:
        sys.exit(__doc__.strip().splitlines()[-1])
    folder = os.path.abspath(sys.argv[1])
    server = http.server.ThreadingHTTPServer(("127.0.0.1", int(sys.argv[2])), handler_for(folder))
    server.serve_forever()


if __name__ == "__main__":
    main()
