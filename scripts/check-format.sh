#!/usr/bin/env bash
# Fails, naming the files, when a C++ file differs from what .clang-format makes of it.
set -u
formatter=${1:-clang-format}
status=0
while IFS= read -r -d '' file; do
    if ! "$formatter" --dry-run --Werror "$file" >/dev/null 2>&1; then
        echo "not formatted: $file (run: $formatter -i $file)"
        status=1
    fi
done < <(find src tests tools bench fuzz \( -name '*.cpp' -o -name '*.h' \) -print0 2>/dev/null)
exit $status
