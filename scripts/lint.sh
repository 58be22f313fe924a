#!/usr/bin/env bash
# Style and static checks, as CI runs them: clang-format must leave every
# C++ file as it is, and clang-tidy must find nothing in the project's own
# sources (checks in .clang-tidy). Compile commands come from a configure-only
# folder, build-lint/, that includes the tests and the benchmarks.
#
#   scripts/lint.sh [--fix]    --fix reformats the files instead of failing
set -euo pipefail
# The checkout is the folder above this script's own, also when run through a link.
cd "$(dirname "$(readlink -f "$0")")/.."

case "$#:${1:-}" in
    0:|1:--fix) ;;
    1:-h|1:--help) sed -n '2,7s/^# \{0,1\}//p' "$0"; exit 0 ;;
    1:*) echo "lint.sh: unknown option '$1'; usage: scripts/lint.sh [--fix]" >&2; exit 2 ;;
    *) echo "lint.sh: takes at most one option; usage: scripts/lint.sh [--fix]" >&2; exit 2 ;;
esac
. scripts/guard.sh
guard_build_folder build-lint
scripts/setup.sh build lint

# Every C++ source of the tree, outside the build folders (no git needed:
# a fresh machine may have the sources from an archive).
mapfile -t files < <(find . \( -path './build*' -o -path './.*' \) -prune -o \
    -type f \( -name '*.cpp' -o -name '*.hpp' \) -print | sort)
[ ${#files[@]} -gt 0 ] || { echo "lint.sh: no C++ sources found" >&2; exit 1; }
if [ "${1:-}" = --fix ]; then
    clang-format -i "${files[@]}"
    exit 0
fi

echo "--- clang-format ($(clang-format --version | grep -o 'version [0-9.]*'), ${#files[@]} files)"
clang-format --dry-run -Werror "${files[@]}"

run_child cmake --preset dev -B build-lint -DORMATH_DEMOS_BUILD_BENCHMARKS=ON >/dev/null
echo "--- clang-tidy ($(clang-tidy --version | grep -o 'version [0-9.]*'), $(nproc) files at a time)"
# The project's own sources as the build compiles them, each file once, with
# a line as each is done: a full run takes minutes.
status=0
run_child python3 scripts/lint_tidy.py build-lint "$(nproc)" || status=$?
case "$status" in
    0) ;;
    1) exit 1 ;;
    *) echo "lint.sh: clang-tidy did not finish (status $status)" >&2; exit "$status" ;;
esac
echo "lint: clean"
