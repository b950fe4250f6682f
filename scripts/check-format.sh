#!/usr/bin/env bash
# Fails, naming the files, when a C++ file differs from what .clang-format makes of it.
set -u
formatter=${1:-clang-format}
mapfile -d '' files < <(find src tests tools bench fuzz \( -name '*.cpp' -o -name '*.h' \) -print0 2>/dev/null)
# One run over every file; it reports each place that would change.
unformatted=$("$formatter" --dry-run "${files[@]}" 2>&1 | grep -o '^[^:]*\.\(cpp\|h\):' | sort -u)
[ -z "$unformatted" ] && exit 0
echo "$unformatted"
echo "not formatted: run $formatter -i on the files above"
exit 1
