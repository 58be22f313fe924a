#!/usr/bin/env bash
# The README's Ormath examples must compile as they stand: each ```cpp block
# is pasted into a function body of its own, after the headers it uses, and
# compiled with warnings as errors.
set -euo pipefail
readme=$1 include_dir=$2 cxx=$3
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# Splits the blocks into example1.txt, example2.txt, ...
awk -v dir="$work" '/^```cpp$/ {inside = 1; n++; next} /^```$/ && inside {inside = 0; next}
    inside {print > (dir "/example" n ".txt")}' "$readme"
examples=("$work"/example*.txt)
[ -e "${examples[0]}" ] || { echo "readme_example_test: no C++ example in $readme" >&2; exit 1; }
for example in "${examples[@]}"; do
    name=$(basename "$example" .txt)
    {
        echo '#include <GL/gl.h>'
        grep '^#include' "$example"
        echo "void readme_$name() {"
        grep -v '^#include' "$example"
        echo '}'
    } >"$work/$name.cpp"
    "$cxx" -std=c++17 -Wall -Wextra -Wpedantic -Werror -fsyntax-only -I"$include_dir" "$work/$name.cpp"
done
echo "the README's ${#examples[@]} examples compile"
