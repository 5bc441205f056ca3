#!/usr/bin/env bash
# Fails when a C++ file of the repository differs from what clang-format
# makes of it with the committed .clang-format. Run
#   git ls-files '*.cpp' '*.h' | xargs clang-format -i
# to format the tree.
set -euo pipefail
cd "$(dirname "$0")/.."
mapfile -t files < <(git ls-files '*.cpp' '*.h' 2>/dev/null || find . -name '*.cpp' -o -name '*.h')
if ! clang-format --dry-run --Werror "${files[@]}" 2>/tmp/tesserine-format.$$; then
  grep -E '^[^ ].*: (error|warning):' /tmp/tesserine-format.$$ | cut -d: -f1 | sort -u |
    sed 's/^/check-format: not formatted: /'
  rm -f /tmp/tesserine-format.$$
  exit 1
fi
rm -f /tmp/tesserine-format.$$
echo "check-format: ${#files[@]} files formatted"
