# Shared by the tools/fuzz-*/run.sh scripts: builds a libFuzzer target from
# the configuration, toolkit and port sources with clang (AddressSanitizer and
# UndefinedBehaviorSanitizer) and runs it for a bounded time on one core.
# Not part of the normal build or test run.
#
#   fuzz_target NAME SOURCE SECONDS CORPUS DICT [extra linker flags...]
#
# CORPUS is the folder of seeds in the tree; it may be missing.
#
# The binary and the work folder (the grown corpus and any crash) are under
# build-fuzz/; returns non-zero when the target found a crash.

fuzz_root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
fuzz_out=$fuzz_root/build-fuzz
fuzz_cxx=${CXX_FUZZ:-clang++-14}
command -v "$fuzz_cxx" >/dev/null || fuzz_cxx=clang++

fuzz_target() {
  local name=$1 source=$2 seconds=$3 corpus=$4 dict=$5
  shift 5
  local sources=("$fuzz_root"/rti/config/*.cpp "$fuzz_root"/rti/util/*.cpp "$fuzz_root"/rti/port/*.cpp)
  local flags=(-std=c++20 -g -O1 -fno-omit-frame-pointer -fsanitize=fuzzer,address,undefined
               -fno-sanitize-recover=undefined -I "$fuzz_root/rti" -pthread)
  local binary=$fuzz_out/${name}_fuzz work=$fuzz_out/$name
  # A target may have no seeds in the tree (it writes its own into the work
  # folder): libFuzzer would stop at a corpus folder that does not exist.
  local seeds=()
  [ -d "$corpus" ] && seeds=("$corpus")
  mkdir -p "$work/corpus"
  echo "== building $binary"
  "$fuzz_cxx" "${flags[@]}" "$source" "${sources[@]}" -o "$binary" -ldl "$@" || return 1
  echo "== running $name for $seconds s"
  (cd "$work" && "$binary" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
      -max_len=4096 -dict="$dict" -close_fd_mask=1 -print_final_stats=1 \
      corpus "${seeds[@]}")
}
