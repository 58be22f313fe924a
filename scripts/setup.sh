#!/usr/bin/env bash
# Installs the Debian packages that building and testing need, and only the
# missing ones: quick when everything is there.
#
#   scripts/setup.sh [--sdl-headers classic|compat] [--web]
#     --sdl-headers   which SDL 1.2 headers to build against: the classic
#                     library's (libsdl1.2-dev) or the compatibility layer's
#                     over SDL 2 (libsdl1.2-compat-dev). The two conflict, so
#                     choosing one replaces the other. Without the option
#                     whichever is installed stays (classic if neither is).
#     --web           also the web build's Emscripten and the Chromium its
#                     tests run in (about 1.1 GB)
set -euo pipefail

sdl_headers=""
web=no
while [ $# -gt 0 ]; do
    case "$1" in
        --sdl-headers) sdl_headers=${2:-}; shift ;;
        --web) web=yes ;;
        *) echo "setup.sh: unknown option '$1'" >&2; exit 2 ;;
    esac
    shift
done
case "$sdl_headers" in
    ""|classic|compat) ;;
    *) echo "setup.sh: --sdl-headers takes classic or compat, not '$sdl_headers'" >&2; exit 2 ;;
esac

installed() { dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q 'ok installed'; }

packages=(
    # build
    g++ clang cmake make pkgconf clang-format clang-tidy
    # the demos: SDL 1.2 (see below), OpenGL and GLU, Mesa's software renderer
    libgl-dev libglu1-mesa-dev libgl1-mesa-dri
    # tests and benchmarks
    googletest libgtest-dev libgmock-dev libbenchmark-dev libeigen3-dev
    # the display tests: an X server with GLX and tools to drive it
    xvfb xauth xdotool x11-utils imagemagick libx11-dev libxtst-dev python3
    # the compatibility layer's runtime, in a folder of its own beside the
    # classic library, so one build can be tested on both
    libsdl1.2-compat
    # benchmarks: instruction counts, plots, the renderer's name
    valgrind python3-matplotlib mesa-utils
)

if [ -z "$sdl_headers" ]; then
    sdl_headers=classic
    installed libsdl1.2-compat-dev && sdl_headers=compat
fi
if [ "$sdl_headers" = compat ]; then
    packages+=(libsdl1.2-compat-dev)
    installed libsdl1.2-dev && echo "setup: replacing libsdl1.2-dev with libsdl1.2-compat-dev (they conflict)"
else
    packages+=(libsdl1.2-dev)
    installed libsdl1.2-compat-dev && echo "setup: replacing libsdl1.2-compat-dev with libsdl1.2-dev (they conflict)"
fi

# Emscripten brings Debian's acorn, which its optimiser loads from Node.
if [ "$web" = yes ]; then
    packages+=(emscripten chromium)
fi

missing=()
for package in "${packages[@]}"; do
    installed "$package" || missing+=("$package")
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=""
if [ "$(id -u)" -ne 0 ]; then
    sudo="sudo"
fi
echo "setup: installing ${missing[*]}"
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
