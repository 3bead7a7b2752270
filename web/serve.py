#!/usr/bin/env python3
"""Serves the web build's site folder (build-web/site) over HTTP: ./run.sh --web runs it, and the
web cases use its handler. The folder holds only the page's own files, and nothing outside it
is reachable, so the build's other files (CMakeCache.txt names this machine's folders) never
reach the network.

Usage: web/serve.py SITE_DIR [--port N] [--lan]
  --lan  listen on every interface, so that a phone on the same network can open the page;
         without it only this machine can (127.0.0.1).
"""

import argparse
import functools
import http.server
import socket
import subprocess


class SiteHandler(http.server.SimpleHTTPRequestHandler):
    # Browsers compile a wasm file while it downloads only when it comes as application/wasm.
    extensions_map = dict(http.server.SimpleHTTPRequestHandler.extensions_map,
                          **{".wasm": "application/wasm", ".js": "text/javascript",
                             ".webmanifest": "application/manifest+json"})

    def list_directory(self, path):
        # The folder's index.html is the page; no listing of anything else.
        self.send_error(404)
        return None


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
