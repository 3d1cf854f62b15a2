#!/usr/bin/env python3
"""Serves a folder, the page to host (dist/web), on 127.0.0.1 as a plain static web server
does, and prints its address; Ctrl+C stops it. A browser on this computer can then open the
page, install it and use it offline as it would from a facility's server. The address is a
loopback one on purpose: serving a phone on the network is a deployment (docs/web.md, "Host it").

Usage: scripts/serve.py [FOLDER]   (default dist/web; PORT=n, default 8000, 0 for any free one)
"""

import functools
import http.server
import os
import sys


class Handler(http.server.SimpleHTTPRequestHandler):
    # The manifest's own type; the rest as Python knows them.
    extensions_map = {**http.server.SimpleHTTPRequestHandler.extensions_map,
                      ".webmanifest": "application/manifest+json", ".js": "text/javascript"}


def main():
    folder = sys.argv[1] if len(sys.argv) > 1 else "dist/web"
    if not os.path.isfile(os.path.join(folder, "index.html")):
        print(f"serve: {folder} holds no index.html (make web writes dist/web)", file=sys.stderr)
        return 1
    port = os.environ.get("PORT") or "8000"
    try:
        server = http.server.ThreadingHTTPServer(
            ("127.0.0.1", int(port)), functools.partial(Handler, directory=folder))
    except (ValueError, OverflowError, OSError) as error:
        print(f"serve: cannot listen on 127.0.0.1 port {port}: {error}", file=sys.stderr)
        return 1
    with server:
        print(f"Serving {folder} at http://127.0.0.1:{server.server_port}/ (Ctrl+C stops)",
              flush=True)
        try:
            server.serve_forever()
        except KeyboardInterrupt:
            pass
    return 0


if __name__ == "__main__":
    sys.exit(main())
