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

echo "--- clang-format ($(clang-format --version | grep -o 'version [0-9.]*'))"
clang-format --dry-run -Werror "${files[@]}"

cmake --preset dev -B build-lint -DORMATH_DEMOS_BUILD_BENCHMARKS=ON >/dev/null
echo "--- clang-tidy ($(clang-tidy --version | grep -o 'version [0-9.]*'))"
# The project's own sources as the build compiles them (each file once).
# clang-tidy's messages stay; only its count of warnings it did not show
# (those in system headers) and its per-file progress are left out.
status=0
python3 -c '
import json, os, sys
seen = set()
for entry in json.load(open("build-lint/compile_commands.json")):
    path = os.path.relpath(os.path.join(entry["directory"], entry["file"]))
    if not path.startswith("..") and path not in seen:
        seen.add(path)
        print(path)
' | xargs -P "$(nproc)" -n 4 clang-tidy -p build-lint --quiet \
    2> >(grep --line-buffered -v -E \
        -e '^[0-9]+ warnings? (and [0-9]+ errors? )?generated\.$' -e '^\[[0-9]+/[0-9]+\] Processing file ' >&2) \
    || status=$?
if [ "$status" -ne 0 ]; then
    echo "lint.sh: clang-tidy found problems (status $status)" >&2
    exit 1
fi
echo "lint: clean"
