#!/usr/bin/env bash
# Installs the Debian packages that one command needs, and only the missing
# ones: quick when everything is there. Each command asks for its groups.
#
#   scripts/setup.sh [--sdl-headers classic|compat] GROUP...
#     build           compiler, CMake, SDL 1.2, OpenGL and GLU, Mesa's renderer
#     headless        a private X server and the demo's screenshot tools
#     test            GoogleTest and what the display and package tests drive
#     package         lintian, which the package test runs on the .deb
#     compat-runtime  the SDL 1.2 compatibility layer's runtime beside the
#                     classic library, where the system has both (Debian 12)
#     lint            clang-format, clang-tidy (and what configuring all needs)
#     valgrind        valgrind
#     benchmarks      Google Benchmark and Eigen, to build the benchmarks
#     bench           those, valgrind, plotting and glxinfo for scripts/bench.sh
#     web             the web build's Emscripten and the Chromium its tests run
#                     in (about 1.1 GB)
#     cross           cross compilers for six other processors, qemu-user to run
#                     their programs, and Emscripten with Node
#     elementary      what scripts/check-elementary.sh needs (MPFR, Debian's
#                     i686 cross compiler, qemu-i386 for a kernel without
#                     32-bit support) and what ormath/tools/derive_elementary.py
#                     needs (sollya, mpmath)
#     --sdl-headers   which SDL 1.2 to build against: the classic library or
#                     the compatibility layer over SDL 2. Debian 12 offers both
#                     (libsdl1.2-dev and libsdl1.2-compat-dev, which conflict:
#                     choosing one removes the other); Debian 13 only the
#                     layer, as libsdl1.2-dev. Without the option the installed
#                     headers stay, else the system's libsdl1.2-dev is taken.
set -euo pipefail
# The checkout is the folder above this script's own, also when run through a link.
cd "$(dirname "$(readlink -f "$0")")/.."
. scripts/sdl.sh

sdl_headers=""
groups=()
while [ $# -gt 0 ]; do
    case "$1" in
        --sdl-headers)
            [ $# -ge 2 ] || { echo "setup.sh: --sdl-headers needs a value, classic or compat;" \
                "usage: scripts/setup.sh [--sdl-headers classic|compat] GROUP..." >&2; exit 2; }
            sdl_headers=$2; shift ;;
        build|headless|test|package|compat-runtime|lint|valgrind|benchmarks|bench|web|cross|elementary) groups+=("$1") ;;
        *) echo "setup.sh: unknown option or group '$1'" >&2; exit 2 ;;
    esac
    shift
done
case "$sdl_headers" in
    ""|classic|compat) ;;
    *) echo "setup.sh: --sdl-headers takes classic or compat, not '$sdl_headers'" >&2; exit 2 ;;
esac
[ ${#groups[@]} -gt 0 ] || { echo "setup.sh: name at least one group (see the top of $0)" >&2; exit 2; }

packages=()
for group in "${groups[@]}"; do
    case "$group" in
        # SDL 1.2's headers are added below, once it is known which.
        build) packages+=(g++ cmake make libgl-dev libglu1-mesa-dev libgl1-mesa-dri) ;;
        headless) packages+=(xvfb xdotool imagemagick) ;;
        # The display tests drive the programs with their own X11 probe and
        # xdotool, and judge pictures with NumPy; the installed-library test
        # uses pkg-config, and clang as a second compiler; the server check
        # reads its listen backlog with ss; the sampled check of the
        # elementary functions uses MPFR.
        test) packages+=(libgtest-dev xvfb xdotool libx11-dev libxtst-dev python3 python3-numpy pkgconf clang
                         iproute2 libmpfr-dev) ;;
        package) packages+=(lintian) ;;
        compat-runtime) ;;
        # Configuring for clang-tidy takes everything the tests and benchmarks need.
        lint) packages+=(clang-format clang-tidy libgtest-dev libx11-dev libxtst-dev python3
                         libbenchmark-dev libeigen3-dev libmpfr-dev) ;;
        valgrind) packages+=(valgrind) ;;
        # Debian's i686 cross compiler, not g++-multilib, which conflicts with
        # the other cross compilers.
        elementary) packages+=(g++ libmpfr-dev g++-i686-linux-gnu qemu-user sollya python3 python3-mpmath) ;;
        benchmarks) packages+=(libbenchmark-dev libeigen3-dev) ;;
        # Emscripten brings Debian's acorn, which its optimiser loads from Node.
        # The browser is driven through its DevTools WebSocket.
        web) packages+=(emscripten chromium python3 python3-websocket) ;;
        cross) packages+=(g++-i686-linux-gnu g++-aarch64-linux-gnu g++-arm-linux-gnueabihf
                          g++-powerpc64le-linux-gnu g++-s390x-linux-gnu g++-riscv64-linux-gnu qemu-user
                          emscripten nodejs) ;;
        bench) packages+=(libbenchmark-dev libeigen3-dev valgrind python3 python3-matplotlib mesa-utils
                          xvfb xdotool) ;;
    esac
done

sudo=""
if [ "$(id -u)" -ne 0 ]; then
    command -v sudo >/dev/null || { echo "setup.sh: needs root or sudo to install packages" >&2; exit 1; }
    sudo="sudo"
fi

updated=no
apt_update() {
    [ "$updated" = yes ] && return 0
    echo "setup: apt-get update"
    $sudo apt-get update -q 2>&1 | sed -u 's/^/setup:   /'
    updated=yes
}

# apt-get's machine-readable status (APT::Status-Fd) as one line per tenth of
# the download and of the installation, and a line every 15 s between them;
# apt's full output goes to a log that is shown when it fails.
show_progress() {
    local kind _package percent what phase="" shown=-1 status last=$SECONDS
    while true; do
        status=0
        IFS=: read -r -t 15 kind _package percent what || status=$?
        if [ "$status" -gt 128 ]; then
            # A big package or a trigger can take a while on a busy disk.
            echo "setup:   still working ($((SECONDS - last)) s since the last step)"
            continue
        fi
        [ "$status" -eq 0 ] || break
        case "$kind" in dlstatus|pmstatus) ;; *) continue ;; esac
        percent=${percent%%.*}
        if [ "$kind" != "$phase" ] || [ $((percent / 10)) -gt "$shown" ]; then
            phase=$kind
            shown=$((percent / 10))
            last=$SECONDS
            if [ "$kind" = dlstatus ]; then
                printf 'setup:   download %3d%%  %s\n' "$percent" "$what"
            else
                printf 'setup:   install  %3d%%  %s\n' "$percent" "$what"
            fi
        fi
    done
}
apt_install() {
    local log status=0
    log=$(mktemp)
    echo "setup: installing ${*}"
    # dpkg cannot undo an installation it began: an interruption says so.
    local said="apt-get install was interrupted, which dpkg cannot roll back; 'sudo dpkg --configure -a'"
    said="$said finishes what it began"
    trap 'rm -f "$log"; echo "setup.sh: $said" >&2; exit 130' INT
    trap 'rm -f "$log"; echo "setup.sh: $said" >&2; exit 143' TERM
    trap 'rm -f "$log"; echo "setup.sh: $said" >&2; exit 129' HUP
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -q --no-install-recommends \
        -o APT::Status-Fd=3 "$@" 3>&1 >"$log" 2>&1 | show_progress || status=$?
    trap - INT TERM HUP
    if [ "$status" -ne 0 ]; then
        tail -n 25 "$log" >&2
        rm -f "$log"
        echo "setup.sh: apt-get install failed (status $status)" >&2
        exit 1
    fi
    grep -E '^[0-9]+ upgraded, [0-9]+ newly installed' "$log" | sed 's/^/setup: /'
    rm -f "$log"
}

installed() { dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q 'ok installed'; }

# SDL 1.2's headers: the package to install, if any, for what was asked.
sdl_package=""
if [[ " ${groups[*]} " == *" build "* ]]; then
    current=$(sdl_headers_package)
    if [ -z "$sdl_headers" ] && [ -n "$current" ]; then
        :
    elif [ -n "$sdl_headers" ] && [ -n "$current" ] && [ "$(sdl_package_kind "$current")" = "$sdl_headers" ]; then
        :
    else
        apt_update
        sdl_package=$(sdl_package_for "${sdl_headers:-default}") || exit 1
    fi
fi
compat_runtime=""
if [[ " ${groups[*]} " == *" compat-runtime "* ]] && [ -z "$(sdl_layer_runtime_dir)" ] \
        && [ "$(sdl_system_runtime_kind)" != compat ]; then
    # Debian 12: the layer's runtime installs in a folder of its own beside
    # the classic library. Where libsdl1.2-dev is the layer (Debian 13) the
    # system's own SDL 1.2 already is it, and there is nothing to add.
    apt_update
    if [ "$(sdl_candidate_kind libsdl1.2-dev)" = classic ] && [ "$(sdl_candidate_kind libsdl1.2-compat)" = compat ]; then
        compat_runtime=libsdl1.2-compat
    fi
fi

missing=()
for package in "${packages[@]}" $sdl_package $compat_runtime; do
    installed "$package" || [[ " ${missing[*]} " == *" $package "* ]] || missing+=("$package")
done
headers_before=$(sdl_headers_package)
if [ ${#missing[@]} -gt 0 ]; then
    apt_update
    apt_install "${missing[@]}"
fi

if [[ " ${groups[*]} " == *" build "* ]]; then
    headers=$(sdl_headers_package)
    if [ -n "$headers_before" ] && [ "$headers_before" != "$headers" ] && ! installed "$headers_before"; then
        echo "setup: apt replaced $headers_before with $headers (the two conflict)"
    fi
    echo "setup: building against SDL 1.2 from $headers $(sdl_installed_version "$headers"):" \
        "$(sdl_kind_words "$(sdl_package_kind "$headers")")"
fi
