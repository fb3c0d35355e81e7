#!/usr/bin/env bash
# Builds the message fuzz target with clang's libFuzzer (AddressSanitizer and
# UndefinedBehaviorSanitizer) and runs it for a bounded time. Not part of the
# normal build; tools/check-fuzz.sh runs it briefly.
#
#   tools/fuzz-rti-msg/run.sh [SECONDS] [extra libFuzzer options...]
#
# SECONDS (default 60). Crashes and the grown corpus go to build-fuzz/msg/;
# the exit status is non-zero when the target found one.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
. "$here/../fuzz-common.sh"
seconds=${1:-60}
shift || true
fuzz_options=(-max_len=1024 "$@")
fuzz_target msg "$here/msg_fuzz.cpp" "$seconds" "$here/corpus" "" -I "$here" \
    "$fuzz_root"/rti/msg/*.cpp "$fuzz_root"/rti/save/*.cpp "$fuzz_root"/rti/net/*.cpp "$fuzz_root"/rti/api/*.cpp \
    "$fuzz_root"/hlatime/*.cpp
