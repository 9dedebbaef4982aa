#!/usr/bin/env bash
# Formats every tracked C++ file with the repository's .clang-format: `scripts/format.sh`.
# `scripts/format.sh --check` changes nothing: it lists the files that differ and exits
# non-zero when there are any.
set -euo pipefail
cd "$(dirname "$0")/.."
mode=${1:-}
if [[ -n "$mode" && "$mode" != --check ]]; then
  echo "usage: scripts/format.sh [--check]" >&2
  exit 2
fi
mapfile -t files < <(git ls-files -- '*.h' '*.hpp' '*.cpp' '*.cc')
if [[ "$mode" != --check ]]; then
  clang-format -i "${files[@]}"
  exit 0
fi
differ=0
for file in "${files[@]}"; do
  if ! clang-format --dry-run --Werror "$file" >/dev/null 2>&1; then
    echo "$file"
    differ=1
  fi
done
exit "$differ"
