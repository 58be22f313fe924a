#!/usr/bin/env bash
# Runs the derivation of elementary.hpp's constants and compares its block
# with the header's; exits 77 (skipped) where sollya or mpmath is missing.
set -euo pipefail
python=${1:-python3} script=$2
command -v sollya >/dev/null || { echo "SKIP: sollya is missing (scripts/setup.sh elementary)"; exit 77; }
"$python" -c 'import mpmath' 2>/dev/null || { echo "SKIP: mpmath is missing (scripts/setup.sh elementary)"; exit 77; }
exec "$python" "$script" --check
