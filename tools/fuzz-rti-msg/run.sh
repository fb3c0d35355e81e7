#!/usr/bin/env bash
# Builds the message fuzz target with clang's libFuzzer (AddressSanitizer and
# UndefinedBehaviorSanitizer) and runs it for a bounded time. Not part of the
# normal build or test run.
#
#   tools/fuzz-rti-msg/run.sh [SECONDS] [extra libFuzzer options...]
#
# SECONDS (default 60). Crashes and the grown corpus go to build-fuzz/msg/;
# the exit status is non-zero when the target found one.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
seconds=${1:-60}
shift || true
out=$root/build-fuzz
cxx=${CXX_FUZZ:-clang++-14}
command -v "$cxx" >/dev/null || cxx=clang++

mkdir -p "$out"
sources=("$root"/rti/msg/*.cpp "$root"/rti/save/*.cpp "$root"/rti/net/*.cpp "$root"/rti/config/*.cpp "$root"/rti/api/*.cpp "$root"/rti/util/*.cpp "$root"/rti/port/*.cpp
         "$root"/hlatime/*.cpp)
flags=(-std=c++20 -g -O1 -fno-omit-frame-pointer -fsanitize=fuzzer,address,undefined
       -fno-sanitize-recover=undefined -I "$root/rti" -I "$root/rti/api" -I "$root/hlatime" -I "$here" -pthread)

binary=$out/msg_fuzz
echo "== building $binary"
"$cxx" "${flags[@]}" "$here/msg_fuzz.cpp" "${sources[@]}" -o "$binary" -ldl
work=$out/msg
mkdir -p "$work/corpus"
echo "== running for $seconds s"
cd "$work"
exec "$binary" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -max_len=1024 \
    -print_final_stats=1 "$@" corpus "$here/corpus"
