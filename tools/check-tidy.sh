#!/usr/bin/env bash
# Fails, printing the findings, when clang-tidy finds anything in the sources
# of the RTI, the federation time library and the monitor (the checks are in
# the top-level .clang-tidy; their headers are checked through the files that
# include them). Needs a built build folder (its compile commands and the
# headers that Qt generates): build-and-test.sh passes the AddressSanitizer
# build's.
#
#   tools/check-tidy.sh [BUILD_DIR] [FILE...]
#
# BUILD_DIR defaults to build-test; FILEs (paths in the tree) narrow the run.
set -euo pipefail
cd "$(dirname "$0")/.."
clang_tidy=${CLANG_TIDY:-clang-tidy}
build=${1:-build-test}
shift || true
database=$build/compile_commands.json
if [ ! -f "$database" ]; then
    echo "No $database: configure that build first." >&2
    exit 2
fi

if [ $# -gt 0 ]; then
    candidates=("$@")
else
    mapfile -t candidates < <(git ls-files --cached --others --exclude-standard -- \
        'rti/*.cpp' 'hlatime/*.cpp' 'monitor/*.cpp' | sort)
fi
# Only what the build compiles has compile commands (clang-tidy would guess
# the flags of the others).
files=()
for file in "${candidates[@]}"; do
    grep -qF "\"file\": \"$PWD/$file\"" "$database" && files+=("$PWD/$file")
done
if [ ${#files[@]} -eq 0 ]; then
    echo "No file to check." >&2
    exit 2
fi

report=$(mktemp)
trap 'rm -f "$report"' EXIT
status=0
printf '%s\0' "${files[@]}" |
    xargs -0 -n 2 -P "$(nproc)" "$clang_tidy" -p "$build" --quiet >"$report" 2>/dev/null || status=$?
findings=$(grep -E '^[^ ].*:[0-9]+:[0-9]+: (warning|error):' "$report" | sort -u || true)
if [ -n "$findings" ] || [ "$status" -ne 0 ]; then
    cat "$report" >&2
    echo "clang-tidy: $(printf '%s' "$findings" | grep -c . || true) finding(s) in ${#files[@]} files" \
        "(fix them, or NOLINT(check) with the reason beside it)." >&2
    exit 1
fi
echo "clang-tidy: no finding in ${#files[@]} files."
