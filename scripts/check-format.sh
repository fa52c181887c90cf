#!/usr/bin/env bash
# Fails when a C++ source or header differs from what clang-format makes of it
# with the project's .clang-format; lists the files and the first differences.
# Fix them with: clang-format -i FILE...
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$root"
"$root/scripts/setup.sh" clang-format >/dev/null

if git rev-parse --is-inside-work-tree >/dev/null 2>&1; then
  mapfile -t files < <(git ls-files '*.cpp' '*.h')
else
  mapfile -t files < <(find . -path './build*' -prune -o \( -name '*.cpp' -o -name '*.h' \) -print)
fi
if ! clang-format --dry-run --Werror "${files[@]}" 2>/tmp/orv-format.$$; then
  grep 'error:' /tmp/orv-format.$$ | cut -d: -f1 | sort -u | sed 's/^/not formatted: /'
  head -n 30 /tmp/orv-format.$$
  rm -f /tmp/orv-format.$$
  exit 1
fi
rm -f /tmp/orv-format.$$
echo "${#files[@]} files formatted"
