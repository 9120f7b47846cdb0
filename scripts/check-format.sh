#!/usr/bin/env bash
# Fails when a C++ source of the project differs from what the project's .clang-format makes
# of it, and names each such file. Fix with: clang-format -i <file>.
# Prints "skipped: <why>" and exits 0 when clang-format is not installed (fails in CI; see
# scripts/stage-tools.sh).
set -uo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
. "$root/scripts/stage-tools.sh"
if ! command -v clang-format >/dev/null; then
  skip_stage "format check: clang-format is not installed" clang-format
fi

bad=0
while IFS= read -r -d '' file; do
  if ! clang-format --dry-run -Werror "$file" >/dev/null 2>&1; then
    echo "not formatted: $file"
    bad=$((bad + 1))
  fi
done < <(git ls-files -z -- '*.cpp' '*.h' '*.inc')

if [ "$bad" -eq 0 ]; then
  echo "1 passed, 0 failed"
else
  echo "format check: $bad file(s) differ from .clang-format (clang-format -i FILE mends them)"
  echo "0 passed, 1 failed"
  exit 1
fi
