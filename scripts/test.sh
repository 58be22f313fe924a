#!/usr/bin/env bash
# The test command: installs what the tests need, configures and builds with
# a CMake preset, and runs the tests through CTest. Without options it
# installs nothing of the project's own and leaves no X server behind.
#
#   scripts/test.sh [--asan] [--sdl-headers classic|compat] [--compat-runtime]
#                   [--package] [--benchmarks] [--soak] [--valgrind] [--web]
#                   [--cross]
#     --asan            the sanitizer build (preset asan, in build-asan/) instead
#                       of the debug build (preset dev, in build/)
#     --sdl-headers F   build against the classic SDL 1.2 or the compatibility
#                       layer over SDL 2 (see scripts/setup.sh)
#     --compat-runtime  afterwards run the display tests once more on the
#                       layer's runtime, where it is not the system's own SDL
#     --package         also the package test: installs the programs' .deb
#                       system-wide, runs it and removes it again (root or sudo)
#     --benchmarks      also build the benchmarks and run each briefly
#     --soak            run only the long soak tests (minutes per program)
#     --valgrind        run only the memcheck runs of the programs
#     --web             build the web site (scripts/web.sh --build) and run
#                       only its tests
#     --cross           run only Ormath's consumer built for six other
#                       processors, WebAssembly and x87 arithmetic, against
#                       the x86-64 bits
set -euo pipefail
# The checkout is the folder above this script's own, also when run through a link.
cd "$(dirname "$(readlink -f "$0")")/.."
. scripts/sdl.sh
. scripts/guard.sh

preset=dev
setup_options=()
groups=(build test)
configure_options=()
compat_runtime=no
soak=no
valgrind=no
web=no
cross=no
exclude=(soak valgrind package web cross)
# An option error is one line: what is wrong, then the usage.
usage_error() {
    echo "test.sh: $1; usage: scripts/test.sh [--asan] [--sdl-headers classic|compat] [--compat-runtime]" \
        "[--package] [--benchmarks] [--soak] [--valgrind] [--web] [--cross]" >&2
    exit 2
}
while [ $# -gt 0 ]; do
    case "$1" in
        --asan) preset=asan ;;
        --sdl-headers)
            case "${2:-}" in
                classic|compat) setup_options=(--sdl-headers "$2"); shift ;;
                "") usage_error "--sdl-headers needs a value, classic or compat" ;;
                *) usage_error "--sdl-headers takes classic or compat, not '$2'" ;;
            esac ;;
        --compat-runtime) compat_runtime=yes; groups+=(compat-runtime) ;;
        --package) exclude=(soak valgrind web cross); groups+=(package); export ORMATH_PACKAGE_TEST=1 ;;
        --benchmarks) groups+=(benchmarks); configure_options+=(-DORMATH_DEMOS_BUILD_BENCHMARKS=ON) ;;
        --soak) soak=yes ;;
        --valgrind) valgrind=yes; groups+=(valgrind) ;;
        --web) web=yes; groups+=(web) ;;
        --cross) cross=yes; groups+=(cross) ;;
        -h|--help) sed -n '2,24s/^# \{0,1\}//p' "$0"; exit 0 ;;
        *) usage_error "unknown option '$1'" ;;
    esac
    shift
done
# The sanitizer build is not packaged: its binaries need the sanitizer runtimes.
[ "$preset" = asan ] && exclude=(soak valgrind package web cross)
build_dir=build
[ "$preset" = asan ] && build_dir=build-asan
guard_build_folder "$build_dir"

# An interrupted run must not leave the fixtures' X server, static server or
# browser behind: they run in sessions of their own, which no terminal's
# signal reaches, and the tests that stop them are skipped by an interruption.
stop_fixtures() {
    local state=$build_dir/tests/display/x_server.state
    [ -f "$state" ] && python3 tests/display/xvfb_fixture.py stop "$state" >/dev/null 2>&1
    for state in "$build_dir"/tests/web/server.state "$build_dir"/tests/web/browser.state; do
        [ -f "$state" ] && /usr/bin/python3 tests/web/web_fixture.py stop "$state" >/dev/null 2>&1
    done
    return 0
}
trap stop_fixtures EXIT

scripts/setup.sh "${setup_options[@]}" "${groups[@]}"
if [ "$web" = yes ]; then
    run_child scripts/web.sh --build
fi

echo "--- configure and build ($preset preset, in $build_dir/)"
run_child cmake --preset "$preset" "${configure_options[@]}" >/dev/null
run_child cmake --build --preset "$preset" --parallel "$(nproc)"

# One line per reason for the tests that were skipped, as CTest does not say
# why: a known limitation of the SDL library in use by check, e.g.
# "4 window checks skipped: the SDL 1.2 compatibility layer sets no icon title".
report_skips() {
    local log=$build_dir/Testing/Temporary/LastTest.log
    [ -f "$log" ] || return 0
    awk '
        /^[0-9]+\/[0-9]+ Testing: / { split($NF, name, "."); check = name[2] }
        /^SKIP: known limitation: / {
            sub(/^SKIP: known limitation: /, "")
            count[check " checks skipped: " $0]++
            next
        }
        /^SKIP: / { sub(/^SKIP: /, ""); count["tests skipped: " $0]++ }
        END { for (line in count) print "test: " count[line] " " line }' "$log" | sort
}

run_ctest() {
    local status=0
    run_child ctest --preset "$preset" "$@" || status=$?
    report_skips
    return "$status"
}

if [ "$soak" = yes ]; then
    run_ctest --label-regex soak
    exit
fi
if [ "$web" = yes ]; then
    run_ctest --parallel "$(nproc)" --label-regex web
    exit
fi
if [ "$cross" = yes ]; then
    run_ctest --label-regex cross --output-on-failure
    exit
fi
if [ "$valgrind" = yes ]; then
    run_ctest --parallel "$(nproc)" --label-regex valgrind
    exit
fi
exclude_regex=$(IFS='|'; echo "${exclude[*]}")
run_ctest --parallel "$(nproc)" --label-exclude "$exclude_regex"

if [ "$compat_runtime" = yes ]; then
    if [ "$(sdl_system_runtime_kind)" = compat ]; then
        echo "--- the system's SDL 1.2 ($(readlink -f "$(sdl_system_runtime)")) is the compatibility layer:" \
            "the display tests above ran on it"
    else
        layer=$(sdl_layer_runtime_dir)
        if [ -z "$layer" ]; then
            echo "test.sh: found no runtime of the SDL 1.2 compatibility layer beside the system's SDL" >&2
            exit 1
        fi
        echo "--- the display tests again, on the SDL 1.2 compatibility layer in $layer"
        LD_LIBRARY_PATH="$layer${LD_LIBRARY_PATH:+:$LD_LIBRARY_PATH}" \
            run_ctest --parallel "$(nproc)" --label-regex display
    fi
fi
