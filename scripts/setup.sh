#!/usr/bin/env bash
# Installs the Debian packages that building and testing need, and only the
# missing ones: quick when everything is there.
set -euo pipefail

packages=(
    # build
    g++ cmake make pkgconf
    # the demos: SDL 1.2 (see below), OpenGL and GLU, Mesa's software renderer
    libgl-dev libglu1-mesa-dev libgl1-mesa-dri
    # tests and benchmarks
    googletest libgtest-dev libgmock-dev libbenchmark-dev libeigen3-dev
    # the display tests: an X server with GLX and tools to drive it
    xvfb xauth xdotool x11-utils imagemagick libx11-dev python3
)

# Either SDL 1.2 flavour serves: the classic library or the compatibility
# layer over SDL 2. Their -dev packages conflict; keep whichever is there.
if ! dpkg-query -W -f='${Status}' libsdl1.2-compat-dev 2>/dev/null | grep -q 'ok installed'; then
    packages+=(libsdl1.2-dev)
fi

missing=()
for package in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'ok installed'; then
        missing+=("$package")
    fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=""
if [ "$(id -u)" -ne 0 ]; then
    sudo="sudo"
fi
echo "setup: installing ${missing[*]}"
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
