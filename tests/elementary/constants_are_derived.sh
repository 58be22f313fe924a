#!/usr/bin/env bash
# Runs each derivation script of the elementary functions' constants
# (TOOLS/derive_*.py) with --check, which compares its block with its
# header's; exits 77 (skipped) where sollya or mpmath is missing.
set -euo pipefail
python=${1:-python3} tools=$2
command -v sollya >/dev/null || { echo "SKIP: sollya is missing (scripts/setup.sh elementary)"; exit 77; }
"$python" -c 'import mpmath' 2>/dev/null || { echo "SKIP: mpmath is missing (scripts/setup.sh elementary)"; exit 77; }
status=0
for script in "$tools"/derive_*.py; do
    "$python" "$script" --check || status=1
done
exit "$status"
