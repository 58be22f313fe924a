#!/usr/bin/env bash
# The test command: installs what is missing, configures and builds in
# build/, and runs every test through CTest.
#
#   scripts/test.sh [--werror]
#     --werror   treat compiler warnings as errors (CI does)
set -euo pipefail
cd "$(dirname "$0")/.."

werror=OFF
while [ $# -gt 0 ]; do
    case "$1" in
        --werror) werror=ON ;;
        -h|--help) sed -n '2,7s/^# \{0,1\}//p' "$0"; exit 0 ;;
        *) echo "test.sh: unknown option '$1' (try --help)" >&2; exit 2 ;;
    esac
    shift
done

scripts/setup.sh
cmake -S . -B build -DORMATH_DEMOS_WERROR="$werror" >/dev/null
cmake --build build --parallel "$(nproc)"
cd build
ctest --output-on-failure --parallel "$(nproc)"
