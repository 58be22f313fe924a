#!/usr/bin/env bash
# Installs Ormath into a scratch prefix and builds an outside consumer that
# uses every name against it: through find_package, and through pkg-config
# with g++ and clang++, each at -O0 without contraction and at -O3
# -march=native with contraction on. Every build must check the exact cases
# and print the same bits as the others. At -O3 a program that uses the
# product and mix once each, as the demos do, must have both inlined.
set -euo pipefail
build_dir=$1 tests_dir=$2 work=$3 cxx=$4
plain="-O0 -ffp-contract=off"
fused="-O3 -march=native -ffp-contract=fast"
clangxx=$(command -v clang++ || true)
[ -n "$clangxx" ] || { echo "install_test: clang++ is missing (scripts/setup.sh installs it)" >&2; exit 1; }

rm -rf "$work"
# The compilers' own temporary files go in the work folder too: a compiler
# ended by a signal leaves its temporary object behind.
mkdir -p "$work/tmp"
export TMPDIR="$work/tmp"
prefix="$work/prefix"
cmake --install "$build_dir" --component ormath --prefix "$prefix" >/dev/null

# Runs the inlining probe and checks that neither the product nor mix was
# emitted out of line.
check_inlined() {
    "$1"
    if nm -C --defined-only "$1" |
        grep -E ' ormath::(operator\*\(ormath::mat4 const&, ormath::mat4 const&\)|mix\(ormath::vec3 const&)'; then
        echo "install_test: the product or mix was not inlined in $1" >&2
        exit 1
    fi
}

# This build also lets the compiler fuse across std::sqrt (no errno branch).
echo "--- find_package(ormath CONFIG), $cxx $fused -fno-math-errno"
cmake -S "$tests_dir/consumer" -B "$work/cmake-build" -DCMAKE_PREFIX_PATH="$prefix" \
    -DCMAKE_CXX_COMPILER="$cxx" -DCMAKE_CXX_FLAGS="$fused -fno-math-errno" -DFUNCTION_TABLE_DIR="$tests_dir" >/dev/null
cmake --build "$work/cmake-build" >/dev/null
"$work/cmake-build/consumer" >"$work/cmake.out"
check_inlined "$work/cmake-build/inlined"
# ormath::strict keeps the program's own arithmetic unfused too.
"$work/cmake-build/strict"

# pkg-config quotes a path with spaces for the shell: read its words as the shell would.
eval "cflags=($(PKG_CONFIG_PATH="$prefix/share/pkgconfig" pkg-config --cflags ormath))"
eval "strict_cflags=($(PKG_CONFIG_PATH="$prefix/share/pkgconfig" pkg-config --cflags ormath-strict))"
echo "--- pkg-config ormath: ${cflags[*]}; ormath-strict: ${strict_cflags[*]}"
outputs=()
for compiler in "$cxx" "$clangxx"; do
    for flags in "$plain" "$fused"; do
        name="$(basename "$compiler")${flags%% *}"
        echo "$compiler $flags"
        # shellcheck disable=SC2086 # the flags are words
        "$compiler" -std=c++17 -Wall -Wextra -Wpedantic -Werror $flags "${cflags[@]}" -I"$tests_dir" \
            "$tests_dir/consumer/consumer.cpp" -o "$work/$name"
        "$work/$name" >"$work/$name.out"
        outputs+=("$work/$name.out")
        if [ "$flags" = "$fused" ]; then
            # shellcheck disable=SC2086
            "$compiler" -std=c++17 $flags "${cflags[@]}" -I"$tests_dir" "$tests_dir/consumer/inlined.cpp" -o "$work/$name-inlined"
            check_inlined "$work/$name-inlined"
            # shellcheck disable=SC2086
            "$compiler" -std=c++17 $flags "${strict_cflags[@]}" "$tests_dir/consumer/strict.cpp" -o "$work/$name-strict"
            "$work/$name-strict"
        fi
    done
done

for output in "${outputs[@]}"; do
    if ! cmp -s "$work/cmake.out" "$output"; then
        echo "install_test: $output differs from the find_package build's bits:" >&2
        diff "$work/cmake.out" "$output" >&2 || true
        exit 1
    fi
done
echo "all $((${#outputs[@]} + 1)) builds printed the same $(wc -l <"$work/cmake.out") lines of bits"

