#!/usr/bin/env bash
# Builds the configuration-language fuzz targets with clang's libFuzzer
# (AddressSanitizer and UndefinedBehaviorSanitizer) and runs each for a bounded
# time. Not part of the normal build or test run.
#
#   tools/fuzz-lisp-reader/run.sh [SECONDS] [reader|eval|all]
#
# SECONDS (default 60) is the time per target. Crashes are written to
# build-fuzz/<target>/ with the corpus the run grew; the exit status is
# non-zero when a target found one.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
seconds=${1:-60}
which=${2:-all}
out=$root/build-fuzz
cxx=${CXX_FUZZ:-clang++-14}
command -v "$cxx" >/dev/null || cxx=clang++

mkdir -p "$out"
sources=("$root"/rti/config/*.cpp "$root"/rti/util/*.cpp "$root"/rti/port/*.cpp)
flags=(-std=c++20 -g -O1 -fno-omit-frame-pointer -fsanitize=fuzzer,address,undefined
       -fno-sanitize-recover=undefined -I "$root/rti" -pthread)

status=0
for target in reader eval; do
  [[ $which == all || $which == "$target" ]] || continue
  binary=$out/${target}_fuzz
  echo "== building $binary"
  "$cxx" "${flags[@]}" "$here/${target}_fuzz.cpp" "${sources[@]}" -o "$binary" -ldl
  work=$out/$target
  mkdir -p "$work/corpus"
  echo "== running $target for $seconds s"
  (cd "$work" && "$binary" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
      -max_len=4096 -dict="$here/lisp.dict" -close_fd_mask=1 -print_final_stats=1 \
      corpus "$here/corpus") || status=1
done
exit $status
