#!/usr/bin/env bash
# Builds the programs' Debian package, installs it with apt-get as a user
# would, runs each program the build lists (programs.json) from /usr/bin
# on a private X server until a key ends it with status 0, and removes the
# package again. Before that,
# lintian must find neither errors nor warnings in the package. It changes
# the system, so it runs only when asked: ORMATH_PACKAGE_TEST=1
# (scripts/test.sh --package, and CI); otherwise it reports itself skipped
# (status 77). A copy of the package installed before is the user's: the
# test then refuses in one line rather than replace and remove it.
# Whatever happens, even an interruption, the package, the temp folder and
# the X server are gone when it ends; an interrupted installation, which
# dpkg cannot roll back, is named in one line.
set -euo pipefail
build_dir=$1 source_dir=$2
package=ormath-quad-demos
if [ "${ORMATH_PACKAGE_TEST:-}" != 1 ]; then
    echo "SKIP: installs $package system-wide; run with ORMATH_PACKAGE_TEST=1 (scripts/test.sh --package)"
    exit 77
fi
mapfile -t programs < <(sed -n 's/.*"name": "\([^"]*\)".*/\1/p' "$build_dir/programs.json")
[ ${#programs[@]} -gt 0 ] || { echo "package_test: no programs listed in $build_dir/programs.json" >&2; exit 1; }
sudo=""
[ "$(id -u)" -eq 0 ] || sudo=sudo

installed() { dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'ok installed'; }
# Any trace in dpkg's database, a half-installed or configured-files-only copy included.
known() { dpkg-query -W -f='${db:Status-Abbrev}' "$package" 2>/dev/null | grep -qv '^[up]n'; }
if known; then
    echo "package_test: $package is already installed on this system ($(dpkg-query -W -f='${Version}' "$package"));" \
        "the test would replace and remove it: purge it first (apt-get purge $package)" >&2
    exit 1
fi
installing=no
remove_package() {
    if installed; then
        DEBIAN_FRONTEND=noninteractive $sudo apt-get purge -y -qq "$package" >/dev/null
    fi
}
cleanup() {
    [ -n "${pid:-}" ] && kill "$pid" 2>/dev/null
    if [ "$installing" = yes ]; then
        echo "package_test: interrupted while apt-get installed $package, which cannot be rolled back;" \
            "'dpkg --audit' shows what is left, 'apt-get purge $package' removes it" >&2
    fi
    remove_package || true
    rm -rf "$work"
}
work=$(mktemp -d)
trap cleanup EXIT
trap 'exit 130' INT
trap 'exit 143' TERM
trap 'exit 129' HUP
# xvfb.sh adds its own clean-up to this trap rather than replacing it.
. "$source_dir/scripts/xvfb.sh"

(cd "$work" && cpack -G DEB --config "$build_dir/CPackConfig.cmake" >/dev/null)
deb=$(ls "$work"/${package}_*.deb)
echo "package: $(basename "$deb")"
# lintian warns when run as root; that line is not about the package. It
# leaves a database file of its own in TMPDIR, so it gets the work folder's.
TMPDIR=$work lintian --fail-on error,warning "$deb" 2> >(grep -v 'running with root privileges' >&2) ||
    { echo "package_test: lintian finds errors or warnings in $(basename "$deb")" >&2; exit 1; }
echo "lintian: no errors, no warnings"
installing=yes
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq "$deb" >/dev/null
installing=no
for program in "${programs[@]}"; do
    [ -x "/usr/bin/$program" ] || { echo "package_test: /usr/bin/$program was not installed" >&2; exit 1; }
done
[ -f /usr/share/doc/$package/LICENSE ] || { echo "package_test: no licence in /usr/share/doc/$package" >&2; exit 1; }

xvfb_start
# Each installed program opens its window and ends on a key: the package's
# dependencies serve every one (GLU only some).
for program in "${programs[@]}"; do
    "/usr/bin/$program" &
    pid=$!
    window=$(timeout 10 xdotool search --sync --onlyvisible --pid "$pid" | head -n 1) || true
    [ -n "$window" ] || { echo "package_test: the installed $program opened no window" >&2; exit 1; }
    xdotool windowfocus --sync "$window" key --delay 50 space
    status=0
    timeout 10 tail --pid="$pid" -f /dev/null ||
        { echo "package_test: $program did not exit within 10 s of a key" >&2; exit 1; }
    wait "$pid" || status=$?
    pid=""
    echo "installed $program ended with status $status"
    [ "$status" -eq 0 ]
done

remove_package
if installed || [ -e "/usr/bin/${programs[0]}" ]; then
    echo "package_test: $package is still installed after apt-get purge" >&2
    exit 1
fi
echo "package removed"
