#!/usr/bin/env bash
# Builds the ownership fuzz target (an object manager fed ownership messages
# and services) with clang's libFuzzer (AddressSanitizer and
# UndefinedBehaviorSanitizer) and runs it for a bounded time on one core. Not
# part of the normal build or test run.
#
#   tools/fuzz-ownership/run.sh [SECONDS]
#
# SECONDS defaults to 60. A crash is written to build-fuzz/ownership/ with the
# corpus the run grew; the exit status is non-zero when the target found one.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
. "$here/../fuzz-common.sh"
root=$(cd "$here/../.." && pwd)
fuzz_target ownership "$here/ownership_fuzz.cpp" "${1:-60}" "$here/corpus" "$here/ownership.dict" \
    "$root"/rti/objects/*.cpp "$root"/rti/msg/*.cpp "$root"/rti/save/*.cpp "$root"/rti/net/*.cpp "$root"/rti/api/*.cpp "$root"/hlatime/*.cpp \
    -I "$root/rti/api" -I "$root/hlatime"
