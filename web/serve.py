#!/usr/bin/env python3
"""Serves the web build's site folder (build-web/site) over HTTP: ./run.sh --web runs it, and the
web cases use its handler. The folder holds only the page's own files, and nothing outside it
is reachable, so the build's other files (CMakeCache.txt names this machine's folders) never
reach the network. The page's text and wasm files go out gzipped to a browser that accepts it:
a first visit is then about a third of the bytes, which is most of its time on a phone's
network.

Usage: web/serve.py SITE_DIR [--port N] [--lan]
  --lan  listen on every interface, so that a phone on the same network can open the page;
         without it only this machine can (127.0.0.1).
"""

import argparse
import functools
import gzip
import http.server
import os
import socket
import subprocess

COMPRESSED = (".html", ".js", ".wasm", ".webmanifest")  # the icons are compressed already
_gzipped = {}  # path: (modification time, size, gzipped bytes)


def gzipped(path):
    """A file's bytes gzipped, kept until the file changes."""
    stat = os.stat(path)
    kept = _gzipped.get(path)
    if kept is None or kept[:2] != (stat.st_mtime_ns, stat.st_size):
        with open(path, "rb") as f:
            kept = _gzipped[path] = (stat.st_mtime_ns, stat.st_size,
                                     gzip.compress(f.read(), 6, mtime=0))
    return kept[2]


class SiteHandler(http.server.SimpleHTTPRequestHandler):
    compress = True  # False sends every file as it is
    # Browsers compile a wasm file while it downloads only when it comes as application/wasm.
    extensions_map = dict(http.server.SimpleHTTPRequestHandler.extensions_map,
                          **{".wasm": "application/wasm", ".js": "text/javascript",
                             ".webmanifest": "application/manifest+json"})

    def list_directory(self, path):
        # The folder's index.html is the page; no listing of anything else.
        self.send_error(404)
        return None

    # The standard handler sends the file, with its length, or "not modified"; a gzipped body
    # takes the file's place in the first case.
    def send_head(self):
        path = self.translate_path(self.path)
        if os.path.isdir(path):
            path = os.path.join(path, "index.html")
        self.gzipped = None
        if self.compress and path.endswith(COMPRESSED) and os.path.isfile(path) and \
                "gzip" in self.headers.get("Accept-Encoding", ""):
            self.gzipped = gzipped(path)
        return super().send_head()

    # Only the file itself goes gzipped: never a redirect, an error or "not modified".
    def send_response(self, code, message=None):
        if code != 200:
            self.gzipped = None
        super().send_response(code, message)

    def send_header(self, keyword, value):
        if keyword == "Content-Length" and getattr(self, "gzipped", None) is not None:
            super().send_header("Content-Encoding", "gzip")
            super().send_header("Vary", "Accept-Encoding")
            value = str(len(self.gzipped))
        super().send_header(keyword, value)

    def copyfile(self, source, outputfile):
        if self.gzipped is not None:
            outputfile.write(self.gzipped)
        else:
            super().copyfile(source, outputfile)


class QuietSiteHandler(SiteHandler):
    def log_message(self, *args):
        pass


def make_server(folder, host, port, handler=SiteHandler):
    """A server of the folder; `handler` is SiteHandler or a subclass of it."""
    return http.server.ThreadingHTTPServer((host, port),
                                           functools.partial(handler, directory=folder))


def lan_addresses():
    try:
        out = subprocess.run(["hostname", "-I"], capture_output=True, text=True).stdout
    except OSError:
        return []
    return [a for a in out.split() if ":" not in a]


def main():
    parser = argparse.ArgumentParser(description="Serves the Orvessa page.")
    parser.add_argument("site")
    parser.add_argument("--port", type=int, default=8080)
    parser.add_argument("--lan", action="store_true",
                        help="listen on every interface, not only 127.0.0.1")
    args = parser.parse_args()
    host = "0.0.0.0" if args.lan else "127.0.0.1"
    server = make_server(args.site, host, args.port)
    print("Orvessa in a browser: http://127.0.0.1:%d/ (Ctrl-C stops serving)" % args.port)
    if args.lan:
        print("Listening on every interface of %s; from a phone on the same network:"
              % socket.gethostname())
        for address in lan_addresses():
            print("  http://%s:%d/" % (address, args.port))
    try:
        server.serve_forever()
    except KeyboardInterrupt:
        pass
    finally:
        server.server_close()


if __name__ == "__main__":
    main()
