#!/usr/bin/env bash
# The proof that Ormath's elementary functions are correctly rounded: each
# one-argument function on all 2^32 floats, each two-argument function on
# --pairs random pairs (default 10^9) spread over the range where its result
# is a finite non-zero float and on its edge set (overflow, underflow,
# special values, exact results and exact midpoints), beside an independent
# oracle (glibc's double function, MPFR for every input whose double result
# lies within 4 double ulps of a midpoint between two floats; see
# tests/elementary/elementary_check.cpp), in three builds:
#   x86-64    g++ -O2, SSE2 arithmetic
#   x87       g++ -O2 -mfpmath=387 on x86-64: x87 arithmetic with 64-bit
#             significands (FLT_EVAL_METHOD 2), as on i386, at native speed
#   i686      Debian's i686 cross compiler (x87 by default), static; natively
#             where the kernel runs 32-bit programs, else under qemu-i386,
#             which is about 100 times slower: there a sample of
#             --i686-sample inputs and as many pairs per function (default
#             10^6) unless --i686-all. Inputs it cannot settle alone (it has
#             no MPFR) go to the x86-64 build's --settle.
# It prints one line per function and build, and a summary for
# docs/elementary.md; it exits 1 if any result is misrounded. A one-argument
# function's result is proved on every input; a two-argument function's is
# checked on the pairs run.
#
#   scripts/check-elementary.sh [--threads N] [--sample N] [--pairs N]
#                               [--i686-sample N] [--i686-all] [FUNCTION...]
#     --threads N       threads per run (default 1; the full run of one
#                       function takes a few minutes on one core)
#     --sample N        N inputs per one-argument function instead of all 2^32
#     --pairs N         N random pairs per two-argument function (default
#                       1000000000)
#     --i686-sample N   the sample size under qemu-i386 (default 1000000)
#     --i686-all        all 2^32 inputs and all --pairs pairs in the i686
#                       build even under qemu
# Needs: scripts/setup.sh elementary.
set -euo pipefail
cd "$(dirname "$0")/.."

threads=1
mode=(--all)
pairs=1000000000
i686_mode=""
i686_sample=1000000
functions=()
while [ $# -gt 0 ]; do
    case "$1" in
        --threads) threads=${2:?}; shift ;;
        --sample) mode=(--sample "${2:?}"); shift ;;
        --pairs) pairs=${2:?}; shift ;;
        --i686-sample) i686_sample=${2:?}; shift ;;
        --i686-all) i686_mode=all ;;
        -h|--help) sed -n '2,34s/^# \{0,1\}//p' "$0"; exit 0 ;;
        -*) echo "check-elementary.sh: unknown option '$1' (try --help)" >&2; exit 2 ;;
        *) functions+=("$1") ;;
    esac
    shift
done

out=build-elementary
mkdir -p "$out"
source=tests/elementary/elementary_check.cpp
flags=(-std=c++17 -O2 -Wall -Wextra -Iormath/include)
cross=""
for compiler in i686-linux-gnu-g++ i686-linux-gnu-g++-12; do
    command -v "$compiler" >/dev/null && { cross=$compiler; break; }
done
[ -n "$cross" ] || { echo "check-elementary.sh: no i686 cross compiler (scripts/setup.sh elementary)" >&2; exit 1; }

echo "--- building the checks in $out/"
g++ "${flags[@]}" -DORMATH_CHECK_MPFR=1 "$source" -o "$out/check-x86-64" -lmpfr -lgmp -pthread
g++ "${flags[@]}" -mfpmath=387 -DORMATH_CHECK_MPFR=1 "$source" -o "$out/check-x87" -lmpfr -lgmp -pthread
"$cross" "${flags[@]}" -static "$source" -o "$out/check-i686" -pthread

status=0
summary=$out/summary.txt
: >"$summary"
run() {
    local build=$1
    shift
    echo "--- $build: $*"
    local log=$out/$build.log
    "$@" 2>&1 | tee "$log" || status=1
    sed -n "s/^\([a-z0-9]*: .*\)/$build \1/p" "$log" | grep -v '^[a-z0-9-]* settle' >>"$summary" || true
    grep '^  hard' "$log" >>"$out/hard-cases.txt" 2>/dev/null || true
}
: >"$out/hard-cases.txt"
start=$SECONDS
run x86-64 "$out/check-x86-64" --threads "$threads" "${mode[@]}" --pairs "$pairs" --pairs-edge "${functions[@]}"
run x87 "$out/check-x87" --threads "$threads" "${mode[@]}" --pairs "$pairs" --pairs-edge "${functions[@]}"

# The i686 build: natively if the kernel runs it, else under qemu-i386.
i686=("$out/check-i686")
i686_args=("${mode[@]}" --pairs "$pairs" --pairs-edge)
if ! "$out/check-i686" --sample 1 sin >/dev/null 2>&1; then
    command -v qemu-i386 >/dev/null || { echo "check-elementary.sh: this kernel runs no 32-bit program and qemu-i386 is missing" >&2; exit 1; }
    i686=(qemu-i386 "$out/check-i686")
    if [ "$i686_mode" != all ] && [ "${mode[0]}" = --all ]; then
        i686_args=(--sample "$i686_sample" --pairs "$i686_sample" --pairs-edge)
        echo "--- i686: this kernel runs no 32-bit program; under qemu-i386, $i686_sample inputs (or pairs) per function"
    fi
fi
echo "--- i686: ${i686[*]} ${i686_args[*]}"
"${i686[@]}" --threads "$threads" "${i686_args[@]}" "${functions[@]}" >"$out/i686.log" 2>&1 || status=1
grep -v '^settle ' "$out/i686.log" | tee -a /dev/stderr | sed 's/^\([a-z0-9]*: \)/i686 \1/' | grep '^i686' >>"$summary" || true
grep '^MISROUNDED' "$out/i686.log" && status=1
settle_count=$(grep -c '^settle ' "$out/i686.log" || true)
echo "--- i686: $settle_count inputs for MPFR"
{ grep '^settle ' "$out/i686.log" || true; } | "$out/check-x86-64" --settle | tee "$out/i686-settle.log" \
    | sed 's/^/i686 /' >>"$summary" || status=1
elapsed=$((SECONDS - start))

echo "--- summary"
cat "$summary"
echo "total time: $elapsed s on $(nproc) cores, $threads thread(s) per run"
echo "machine: $(grep -m1 'model name' /proc/cpuinfo | sed 's/.*: //'); $(ldd --version | head -n 1); $(g++ --version | head -n 1); $("$cross" --version | head -n 1)"
for header in ormath/include/ormath/elementary/*.hpp; do
    echo "header sha256: $(sha256sum "$header" | cut -d' ' -f1) ${header#ormath/include/ormath/}"
done
if [ "$status" -eq 0 ]; then
    echo "check-elementary: 0 misrounded"
else
    echo "check-elementary: MISROUNDED results (see above)" >&2
fi
exit "$status"
