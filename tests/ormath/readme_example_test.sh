#!/usr/bin/env bash
# The README's Ormath example must compile as it stands: it is pasted into a
# function body, after the headers it uses, and compiled with warnings as errors.
set -euo pipefail
readme=$1 include_dir=$2 cxx=$3
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

example=$(awk '/^```cpp$/ {inside = 1; next} /^```$/ && inside {exit} inside {print}' "$readme")
[ -n "$example" ] || { echo "readme_example_test: no C++ example in $readme" >&2; exit 1; }
{
    echo '#include <GL/gl.h>'
    grep '^#include' <<<"$example"
    echo 'void readme_example() {'
    grep -v '^#include' <<<"$example"
    echo '}'
} >"$work/example.cpp"
"$cxx" -std=c++17 -Wall -Wextra -Wpedantic -Werror -fsyntax-only -I"$include_dir" "$work/example.cpp"
echo "the README's example compiles"
