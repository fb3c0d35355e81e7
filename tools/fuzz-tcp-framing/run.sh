#!/usr/bin/env bash
# Builds the TCP framing fuzz target (the forwarder's and the federates'
# readers of the reliable transport) with clang's libFuzzer (AddressSanitizer
# and UndefinedBehaviorSanitizer) and runs it for a bounded time. Not part of
# the normal build or test run.
#
#   tools/fuzz-tcp-framing/run.sh [SECONDS] [extra libFuzzer options...]
#
# SECONDS (default 60). Crashes and the grown corpus go to build-fuzz/framing/;
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
sources=("$root"/rti/net/*.cpp "$root"/rti/api/*.cpp "$root"/rti/config/*.cpp "$root"/rti/util/*.cpp "$root"/rti/port/*.cpp
         "$root"/hlatime/*.cpp)
flags=(-std=c++20 -g -O1 -fno-omit-frame-pointer -fsanitize=fuzzer,address,undefined
       -fno-sanitize-recover=undefined -I "$root/rti" -I "$root/rti/api" -I "$root/hlatime" -pthread)

binary=$out/framing_fuzz
echo "== building $binary"
"$cxx" "${flags[@]}" "$here/framing_fuzz.cpp" "${sources[@]}" -o "$binary" -ldl
work=$out/framing
mkdir -p "$work/corpus"
echo "== running for $seconds s"
cd "$work"
exec "$binary" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -max_len=4096 \
    -print_final_stats=1 "$@" corpus "$here/corpus"
