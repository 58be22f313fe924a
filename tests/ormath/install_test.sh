#!/usr/bin/env bash
# Installs Ormath into a scratch prefix, then builds and runs an outside
# consumer against it twice: through find_package and through pkg-config,
# both at -O3 -march=native with contraction on. The product and mix must
# keep their bits and stay inlined (no out-of-line Ormath function).
set -euo pipefail
build_dir=$1 tests_dir=$2 work=$3 cxx=$4
flags="-O3 -march=native -ffp-contract=fast"

rm -rf "$work"
prefix="$work/prefix"
cmake --install "$build_dir" --component ormath --prefix "$prefix" >/dev/null

check_binary() {
    "$1"
    if nm -C --defined-only "$1" | grep -E ' ormath::' ; then
        echo "install_test: Ormath functions were not inlined in $1" >&2
        exit 1
    fi
}

echo "--- find_package(ormath CONFIG)"
cmake -S "$tests_dir/consumer" -B "$work/cmake-build" -DCMAKE_PREFIX_PATH="$prefix" \
    -DCMAKE_CXX_COMPILER="$cxx" -DCMAKE_CXX_FLAGS="$flags" -DEXACT_CASES_DIR="$tests_dir" >/dev/null
cmake --build "$work/cmake-build" >/dev/null
check_binary "$work/cmake-build/consumer"

echo "--- pkg-config ormath"
cflags=$(PKG_CONFIG_PATH="$prefix/share/pkgconfig" pkg-config --cflags ormath)
echo "cflags: $cflags"
# shellcheck disable=SC2086 # the flags are words
"$cxx" -std=c++17 $flags $cflags -I"$tests_dir" "$tests_dir/consumer/consumer.cpp" -o "$work/pkg-consumer"
check_binary "$work/pkg-consumer"
