#!/usr/bin/env bash
# Builds the programs' Debian package, installs it with apt-get as a user
# would, runs the installed quad_fixed_arrays on a private X server until a
# key ends it with status 0, and removes the package again. It changes the
# system, so it runs only when asked: ORMATH_PACKAGE_TEST=1 (scripts/test.sh
# --package, and CI); otherwise it reports itself skipped (status 77).
# Whatever happens, even an interruption, the package, the temp folder and
# the X server are gone when it ends.
set -euo pipefail
build_dir=$1 source_dir=$2
package=ormath-quad-demos
if [ "${ORMATH_PACKAGE_TEST:-}" != 1 ]; then
    echo "SKIP: installs $package system-wide; run with ORMATH_PACKAGE_TEST=1 (scripts/test.sh --package)"
    exit 77
fi
sudo=""
[ "$(id -u)" -eq 0 ] || sudo=sudo

installed() { dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'ok installed'; }
remove_package() {
    if installed; then
        DEBIAN_FRONTEND=noninteractive $sudo apt-get purge -y -qq "$package" >/dev/null
    fi
}
cleanup() {
    [ -n "${pid:-}" ] && kill "$pid" 2>/dev/null
    remove_package || true
    rm -rf "$work"
}
work=$(mktemp -d)
trap cleanup EXIT
trap 'exit 130' INT
trap 'exit 143' TERM
# xvfb.sh adds its own clean-up to this trap rather than replacing it.
. "$source_dir/scripts/xvfb.sh"

(cd "$work" && cpack -G DEB --config "$build_dir/CPackConfig.cmake" >/dev/null)
deb=$(ls "$work"/${package}_*.deb)
echo "package: $(basename "$deb")"
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq "$deb" >/dev/null
for program in quad_mathlib_arrays quad_mathlib_immediate quad_fixed_arrays quad_fixed_immediate; do
    [ -x "/usr/bin/$program" ] || { echo "package_test: /usr/bin/$program was not installed" >&2; exit 1; }
done
[ -f /usr/share/doc/$package/LICENSE ] || { echo "package_test: no licence in /usr/share/doc/$package" >&2; exit 1; }

xvfb_start
/usr/bin/quad_fixed_arrays &
pid=$!
window=$(timeout 10 xdotool search --sync --onlyvisible --pid "$pid" | head -n 1) || true
[ -n "$window" ] || { echo "package_test: the installed program opened no window" >&2; exit 1; }
xdotool windowfocus --sync "$window" key --delay 50 space
status=0
timeout 10 tail --pid="$pid" -f /dev/null || { echo "package_test: no exit within 10 s of a key" >&2; exit 1; }
wait "$pid" || status=$?
pid=""
echo "installed quad_fixed_arrays ended with status $status"
[ "$status" -eq 0 ]

remove_package
if installed || [ -e /usr/bin/quad_fixed_arrays ]; then
    echo "package_test: $package is still installed after apt-get purge" >&2
    exit 1
fi
echo "package removed"
