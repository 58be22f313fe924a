#!/usr/bin/env bash
# The test command: installs what is missing, configures and builds with a
# CMake preset, and runs every test through CTest.
#
#   scripts/test.sh [--asan] [--sdl-headers classic|compat] [--compat-runtime] [--soak] [--valgrind] [--web]
#     --asan            the sanitizer build (preset asan, in build-asan/) instead
#                       of the debug build (preset dev, in build/)
#     --sdl-headers F   build against the classic SDL 1.2 headers or those of the
#                       compatibility layer over SDL 2; their Debian packages
#                       conflict, so this replaces the other one
#     --compat-runtime  afterwards run the display tests once more on the
#                       compatibility layer's runtime library
#     --soak            run only the long soak tests (minutes per program)
#     --valgrind        run only the memcheck runs of the programs
#     --web             build the web site (scripts/web.sh --build) and run
#                       only the tests of its pages in headless Chromium
set -euo pipefail
cd "$(dirname "$0")/.."

preset=dev
setup_options=()
compat_runtime=no
soak=no
valgrind=no
web=no
while [ $# -gt 0 ]; do
    case "$1" in
        --asan) preset=asan ;;
        --sdl-headers) setup_options=(--sdl-headers "${2:-}"); shift ;;
        --compat-runtime) compat_runtime=yes ;;
        --soak) soak=yes ;;
        --valgrind) valgrind=yes ;;
        --web) web=yes ;;
        -h|--help) sed -n '2,18s/^# \{0,1\}//p' "$0"; exit 0 ;;
        *) echo "test.sh: unknown option '$1' (try --help)" >&2; exit 2 ;;
    esac
    shift
done

scripts/setup.sh "${setup_options[@]}"
if [ "$web" = yes ]; then
    scripts/web.sh --build
fi
cmake --preset "$preset" >/dev/null
cmake --build --preset "$preset" --parallel "$(nproc)"

if [ "$soak" = yes ]; then
    ctest --preset "$preset" --label-regex soak
    exit
fi
if [ "$web" = yes ]; then
    ctest --preset "$preset" --parallel "$(nproc)" --label-regex web
    exit
fi
if [ "$valgrind" = yes ]; then
    ctest --preset "$preset" --parallel "$(nproc)" --label-regex valgrind
    exit
fi
# The sanitizer build is not packaged: its binaries need the sanitizer runtimes.
exclude='soak|valgrind|web'
[ "$preset" = asan ] && exclude='soak|valgrind|web|package'
ctest --preset "$preset" --parallel "$(nproc)" --label-exclude "$exclude"

if [ "$compat_runtime" = yes ]; then
    library=$(dpkg -L libsdl1.2-compat | grep '/libSDL-1.2.so.0$')
    echo "--- the display tests again, on the SDL 1.2 compatibility layer: $library"
    LD_LIBRARY_PATH="$(dirname "$library")${LD_LIBRARY_PATH:+:$LD_LIBRARY_PATH}" \
        ctest --preset "$preset" --parallel "$(nproc)" --label-regex display
fi
