#!/usr/bin/env python3
"""Serves the site on 127.0.0.1, with the WebAssembly modules as
application/wasm, which browsers require to compile them as they arrive.

  serve.py SITE [PORT]

PORT 0 takes a free one. The first line on stdout is the site's address.
"""
import functools
import http.server
import sys


class SiteHandler(http.server.SimpleHTTPRequestHandler):
    extensions_map = {**http.server.SimpleHTTPRequestHandler.extensions_map, ".wasm": "application/wasm",
                      ".js": "text/javascript", ".html": "text/html; charset=utf-8"}

    def end_headers(self):
        # A rebuilt site is always read anew.
        self.send_header("Cache-Control", "no-store")
        super().end_headers()

    def log_message(self, format, *args):
        sys.stderr.write("%s %s\n" % (self.log_date_time_string(), format % args))


def main():
    if len(sys.argv) not in (2, 3):
        print(__doc__.strip(), file=sys.stderr)
        return 2
    port = int(sys.argv[2]) if len(sys.argv) == 3 else 8080
    handler = functools.partial(SiteHandler, directory=sys.argv[1])
    try:
        server = http.server.ThreadingHTTPServer(("127.0.0.1", port), handler)
    except OSError as error:
        print(f"serve.py: cannot listen on 127.0.0.1:{port}: {error.strerror}", file=sys.stderr)
        return 1
    print(f"http://127.0.0.1:{server.server_address[1]}/", flush=True)
    with server:
        server.serve_forever()
    return 0


if __name__ == "__main__":
    sys.exit(main())
