#!/usr/bin/env bash
# Fails, listing them, when C++ files of the repository are not laid out in
# their house style (the .clang-format nearest each file: rti/'s or the
# monitor's). Only files that git knows are looked at, so build folders and
# scratch files never count.
#
#   tools/check-format.sh          checks every file
#   tools/check-format.sh --fix    formats every file in place instead
set -euo pipefail
cd "$(dirname "$0")/.."
clang_format=${CLANG_FORMAT:-clang-format}

mapfile -t files < <(git ls-files --cached --others --exclude-standard -- '*.cpp' '*.h' '*.hh' | sort)

if [ "${1:-}" = "--fix" ]; then
    printf '%s\0' "${files[@]}" | xargs -0 -n 50 -P "$(nproc)" "$clang_format" -i
    exit 0
fi

unformatted=$(printf '%s\0' "${files[@]}" |
    xargs -0 -n 50 -P "$(nproc)" "$clang_format" --dry-run --Werror 2>&1 |
    sed -n 's/^\([^:]*\):[0-9]*:[0-9]*: error: code should be clang-formatted.*/\1/p' | sort -u) || true
if [ -n "$unformatted" ]; then
    echo "Not in their house style (tools/check-format.sh --fix formats them):" >&2
    echo "$unformatted" | sed 's/^/  /' >&2
    exit 1
fi
echo "All ${#files[@]} C++ files are in their house style."
