#!/usr/bin/env bash
# Style and static checks, as CI runs them: clang-format must leave every
# C++ file as it is, and clang-tidy must find nothing in the project's own
# sources (checks in .clang-tidy). Uses the dev build's compile commands.
#
#   scripts/lint.sh [--fix]    --fix reformats the files instead of failing
set -euo pipefail
cd "$(dirname "$0")/.."

mapfile -t files < <(git ls-files '*.cpp' '*.hpp')
if [ "${1:-}" = --fix ]; then
    clang-format -i "${files[@]}"
    exit 0
fi

echo "--- clang-format ($(clang-format --version | grep -o 'version [0-9.]*'))"
clang-format --dry-run -Werror "${files[@]}"

cmake --preset dev >/dev/null
echo "--- clang-tidy"
# The project's own sources as the build compiles them (each file once).
python3 -c '
import json, os, sys
seen = set()
for entry in json.load(open("build/compile_commands.json")):
    path = os.path.relpath(os.path.join(entry["directory"], entry["file"]))
    if not path.startswith("..") and path not in seen:
        seen.add(path)
        print(path)
' | xargs -P "$(nproc)" -n 4 clang-tidy -p build --quiet 2>/dev/null
echo "lint: clean"
