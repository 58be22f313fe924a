#!/usr/bin/env python3
"""Serves the site on 127.0.0.1, with the WebAssembly modules as
application/wasm, which browsers require to compile them as they arrive.

  serve.py [--idle-timeout SECONDS] SITE [PORT]

PORT 0 takes a free one (default 8080). The first line on stdout is the
site's address. A connection that sends nothing for SECONDS (default 10) is
closed. Ctrl-C, SIGTERM and SIGHUP end the server quietly, with status 0.
"""
import argparse
import functools
import http.server
import signal
import sys
import urllib.parse


class SiteHandler(http.server.SimpleHTTPRequestHandler):
    extensions_map = {**http.server.SimpleHTTPRequestHandler.extensions_map, ".wasm": "application/wasm",
                      ".js": "text/javascript", ".html": "text/html; charset=utf-8"}
    # Applied to the connection's socket: an idle or half-sent request ends
    # after this long instead of holding its thread forever.
    timeout = 10
    # A request that cannot be parsed is answered as HTTP/1.0, with a status
    # line and headers, rather than as a bare HTTP/0.9 body without status.
    default_request_version = "HTTP/1.0"

    def send_head(self):
        # A path that decodes to a NUL byte or to no UTF-8 names no file, and
        # the file system calls would raise on it: answered with 400 before.
        path = self.path.split("?", 1)[0].split("#", 1)[0]
        try:
            decoded = urllib.parse.unquote(path, errors="strict")
        except UnicodeDecodeError:
            decoded = "\0"
        if "\0" in decoded:
            self.send_error(400, "Bad request path")
            return None
        try:
            return super().send_head()
        except (OSError, ValueError):
            self.send_error(400, "Bad request path")
            return None

    def end_headers(self):
        # A rebuilt site is always read anew.
        self.send_header("Cache-Control", "no-store")
        super().end_headers()

    def log_message(self, format, *args):
        sys.stderr.write("%s %s\n" % (self.log_date_time_string(), format % args))


class SiteServer(http.server.ThreadingHTTPServer):
    # Many pages open at once (the index page loads eight files at a time per
    # frame): with the default backlog of 5, a burst of connections waits
    # for SYN retries of a second or more.
    request_queue_size = 128


def port_number(text):
    if not text.isdigit() or int(text) > 65535:
        raise argparse.ArgumentTypeError(f"takes a number from 0 to 65535, not {text!r}")
    return int(text)


def seconds(text):
    try:
        value = float(text)
    except ValueError:
        value = 0
    if not value > 0:
        raise argparse.ArgumentTypeError(f"takes a positive number of seconds, not {text!r}")
    return value


class Parser(argparse.ArgumentParser):
    def error(self, message):
        # One line: what is wrong, then the usage.
        self.exit(2, f"serve.py: {message}; usage: serve.py [--idle-timeout SECONDS] SITE [PORT]\n")


def stop_quietly(number, frame):
    raise KeyboardInterrupt


def main():
    parser = Parser(add_help=False)
    parser.add_argument("--idle-timeout", type=seconds, default=SiteHandler.timeout)
    parser.add_argument("site")
    parser.add_argument("port", type=port_number, nargs="?", default=8080)
    args = parser.parse_args()
    handler = functools.partial(type("Handler", (SiteHandler,), {"timeout": args.idle_timeout}),
                                directory=args.site)
    for number in (signal.SIGTERM, signal.SIGHUP):
        signal.signal(number, stop_quietly)
    try:
        server = SiteServer(("127.0.0.1", args.port), handler)
    except OSError as error:
        print(f"serve.py: cannot listen on 127.0.0.1:{args.port}: {error.strerror}", file=sys.stderr)
        return 1
    try:
        print(f"http://127.0.0.1:{server.server_address[1]}/", flush=True)
        with server:
            server.serve_forever()
    except KeyboardInterrupt:
        pass
    return 0


if __name__ == "__main__":
    sys.exit(main())
