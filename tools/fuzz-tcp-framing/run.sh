#!/usr/bin/env bash
# Builds the TCP framing fuzz target (the forwarder's and the federates'
# readers of the reliable transport) with clang's libFuzzer (AddressSanitizer
# and UndefinedBehaviorSanitizer) and runs it for a bounded time on one core.
# Not part of the normal build or test run.
#
#   tools/fuzz-tcp-framing/run.sh [SECONDS]
#
# SECONDS defaults to 60. A crash is written to build-fuzz/framing/ with the
# corpus the run grew; the exit status is non-zero when the target found one.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
. "$here/../fuzz-common.sh"
fuzz_target framing "$here/framing_fuzz.cpp" "${1:-60}" "$here/corpus" "$here/framing.dict" \
    -I "$fuzz_root/rti/api" -I "$fuzz_root/hlatime" "$fuzz_root"/rti/msg/*.cpp "$fuzz_root"/rti/save/*.cpp "$fuzz_root"/rti/net/*.cpp "$fuzz_root"/rti/api/*.cpp \
    "$fuzz_root"/hlatime/*.cpp
