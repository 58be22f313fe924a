#!/usr/bin/env bash
# Builds the installed-consumer program (every public name of Ormath, every
# row of the test table) for other processors and C libraries, at -O0 and
# -O3, runs each build, and compares its output with the x86-64 build's: the
# same bits everywhere is Ormath's promise. The targets are Debian's cross
# compilers (static, run under qemu-user, i686 natively where the kernel runs
# 32-bit programs), Emscripten (run under Node), and x87 arithmetic, which
# keeps float intermediates wider unless Ormath rounds them: i686 with its
# compiler's default, and x86-64 with -mfpmath=387 (run natively).
set -euo pipefail
build_dir=$1 tests_dir=$2 work=$3
jobs=$(nproc)

# target, compiler, how to run its programs, options of its own
targets=(
    "i686 i686-linux-gnu-g++ qemu-i386"
    "x86-64-x87 g++ env -mfpmath=387"
    "aarch64 aarch64-linux-gnu-g++ qemu-aarch64"
    "armhf arm-linux-gnueabihf-g++ qemu-arm"
    "ppc64el powerpc64le-linux-gnu-g++ qemu-ppc64le"
    "s390x s390x-linux-gnu-g++ qemu-s390x"
    "riscv64 riscv64-linux-gnu-g++ qemu-riscv64"
    "wasm em++ node"
)
missing=()
for target in "${targets[@]}"; do
    read -r _ compiler runner _ <<<"$target"
    for tool in "$compiler" "$runner"; do
        command -v "$tool" >/dev/null || missing+=("$tool")
    done
done
if [ ${#missing[@]} -gt 0 ]; then
    echo "SKIP: the cross-target tools are missing: ${missing[*]} (scripts/test.sh --cross installs them)"
    exit 77
fi

rm -rf "$work"
mkdir -p "$work"
prefix="$work/prefix"
cmake --install "$build_dir" --component ormath --prefix "$prefix" >/dev/null

# Builds and runs one target at one level; its output goes to NAME.out.
build_and_run() {
    local name=$1 compiler=$2 runner=$3 level=$4 program
    local options=("${@:5}")
    local sources=(-std=c++17 -I"$prefix/include" -I"$tests_dir" "$tests_dir/consumer/consumer.cpp")
    case "$compiler" in
        em++) program="$work/$name.js"
              # Debian's Emscripten loads its optimiser's modules from Debian's Node path.
              NODE_PATH=/usr/share/nodejs em++ "$level" "${sources[@]}" -sENVIRONMENT=node -sSINGLE_FILE \
                  -o "$program" 2>"$work/$name.log" ;;
        *) program="$work/$name"
           "$compiler" "$level" -static "${options[@]}" "${sources[@]}" -o "$program" 2>"$work/$name.log" ;;
    esac || { echo "$name: the build failed:" >&2; cat "$work/$name.log" >&2; return 1; }
    # i686 runs natively where the kernel can; elsewhere the runner emulates.
    if [ "$runner" = qemu-i386 ] && "$program" >/dev/null 2>&1; then
        runner=""
    fi
    $runner "$program" >"$work/$name.out" 2>"$work/$name.log" ||
        { echo "$name: the program failed:" >&2; cat "$work/$name.log" >&2; return 1; }
}
export -f build_and_run
export work prefix tests_dir

g++ -O0 -std=c++17 -I"$prefix/include" -I"$tests_dir" "$tests_dir/consumer/consumer.cpp" -o "$work/x86-64"
"$work/x86-64" >"$work/x86-64.out"

runs=()
for target in "${targets[@]}"; do
    read -r name compiler runner options <<<"$target"
    for level in -O0 -O3; do
        runs+=("$name$level $compiler $runner $level $options")
    done
done
status=0
# One run a line, split into its words by the shell that runs it.
# shellcheck disable=SC2016
printf '%s\n' "${runs[@]}" | xargs -P "$jobs" -d '\n' -n 1 bash -c 'build_and_run $1' _ ||
    status=$?

differ=0
for run in "${runs[@]}"; do
    read -r name _ <<<"$run"
    if [ ! -f "$work/$name.out" ]; then
        continue
    elif cmp -s "$work/x86-64.out" "$work/$name.out"; then
        echo "$name: the same $(wc -l <"$work/$name.out") lines of bits as x86-64"
    else
        differ=$((differ + 1))
        echo "$name: $( (diff "$work/x86-64.out" "$work/$name.out" || true) | grep -c '^>') lines differ" \
            "from x86-64, e.g.:" >&2
        (diff "$work/x86-64.out" "$work/$name.out" || true) | head -n 8 >&2
    fi
done
[ "$status" -eq 0 ] && [ "$differ" -eq 0 ]
