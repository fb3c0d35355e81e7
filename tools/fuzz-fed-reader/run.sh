#!/usr/bin/env bash
# Builds the FED reader's fuzz target with clang's libFuzzer (AddressSanitizer
# and UndefinedBehaviorSanitizer) and runs it for a bounded time on one core.
# Not part of the normal build or test run.
#
#   tools/fuzz-fed-reader/run.sh [SECONDS]
#
# SECONDS defaults to 60. A crash is written to build-fuzz/fed/ with the corpus
# the run grew; the exit status is non-zero when the target found one.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
. "$here/../fuzz-common.sh"
fuzz_target fed "$here/fed_fuzz.cpp" "${1:-60}" "$here/corpus" "$here/fed.dict"
