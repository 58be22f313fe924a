#!/usr/bin/env bash
# The four demos as web pages: installs what the web build needs, builds the
# site into build-web/site with Emscripten and serves it on 127.0.0.1. The
# pages need http: a browser does not load their WebAssembly from file://.
#
#   scripts/web.sh [--port N | --headless | --measure | --build]
#     --port N     serve on port N (default 8080)
#     --headless   instead of serving, run each program's page in headless
#                  Chromium for about 3 seconds, save its canvas as
#                  build-web/<program>.png, press a key and print the
#                  program's exit status
#     --measure    instead of serving, measure each page's weight, first
#                  frame and frame rate in headless Chromium (about 2
#                  minutes) and write them at the end of docs/performance.md
#     --build      only install and build
set -euo pipefail
# The checkout is the folder above this script's own, also when run through a link.
cd "$(dirname "$(readlink -f "$0")")/.."

mode=serve
port=8080
usage_error() {
    echo "web.sh: $1; usage: scripts/web.sh [--port N | --headless | --measure | --build]" >&2
    exit 2
}
while [ $# -gt 0 ]; do
    case "$1" in
        --port)
            [ $# -ge 2 ] || usage_error "--port needs a number"
            # Leading zeros are refused too: 0 alone takes a free port.
            [[ "$2" =~ ^(0|[1-9][0-9]{0,4})$ ]] && [ "$2" -le 65535 ] ||
                usage_error "--port takes a number from 0 to 65535, not '$2'"
            port=$2; shift ;;
        --headless) mode=headless ;;
        --measure) mode=measure ;;
        --build) mode=build ;;
        -h|--help) sed -n '2,16s/^# \{0,1\}//p' "$0"; exit 0 ;;
        *) usage_error "unknown option '$1'" ;;
    esac
    shift
done

. scripts/guard.sh
guard_build_folder build-web
scripts/setup.sh build web
run_child cmake --preset web >/dev/null
run_child cmake --build --preset web --parallel "$(nproc)"

case "$mode" in
    build) ;;
    # Debian's Python, which has the WebSocket client the browser is driven with.
    headless) run_child /usr/bin/python3 web/headless.py build-web/site build-web ;;
    measure) run_child /usr/bin/python3 web/measure.py build-web/site docs/performance.md ;;
    serve)
        echo "web: serving build-web/site; open the address below (Ctrl-C ends it)"
        # The server ends quietly on Ctrl-C itself; it does not hold the
        # build folder's lock, so the site may be rebuilt while it serves.
        exec python3 web/serve.py build-web/site "$port" 9>&- ;;
esac
