# Shared by the tools/fuzz-*/run.sh scripts: builds a libFuzzer target from
# the configuration, toolkit and port sources with clang (AddressSanitizer and
# UndefinedBehaviorSanitizer) and runs it for a bounded time on one core.
# Not part of the normal build; tools/check-fuzz.sh runs every target briefly.
#
#   fuzz_target NAME SOURCE SECONDS CORPUS DICT [more sources and flags...]
#
# CORPUS is the folder of seeds in the tree; it may be missing. DICT may be
# empty (no dictionary). The further arguments are sources (*.cpp) and
# compiler flags (-I, -D, -f...); -Wl,... and -l... go to the linker only.
# Options for libFuzzer that the caller puts in the array fuzz_options come
# after the shared ones (the last of a flag wins). FUZZ_SEED, when set, fixes
# libFuzzer's random seed.
#
# Each source is compiled on its own, all cores at once, through ccache when
# there is one: the targets share most sources and flags, so the second
# target and the next run build little. The objects, the binary and the work
# folder (the grown corpus and any crash) are under build-fuzz/; returns
# non-zero when the target does not build or found a crash.

fuzz_root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
fuzz_out=$fuzz_root/build-fuzz
fuzz_cxx=${CXX_FUZZ:-clang++-14}
command -v "$fuzz_cxx" >/dev/null || fuzz_cxx=clang++
fuzz_launcher=()
command -v ccache >/dev/null && fuzz_launcher=(ccache)

fuzz_target() {
  local name=$1 source=$2 seconds=$3 corpus=$4 dict=$5
  shift 5
  local sources=("$source" "$fuzz_root"/rti/config/*.cpp "$fuzz_root"/rti/util/*.cpp "$fuzz_root"/rti/port/*.cpp)
  local flags=(-std=c++20 -g -O1 -fno-omit-frame-pointer -fsanitize=fuzzer,address,undefined
               -fno-sanitize-recover=undefined -I "$fuzz_root/rti" -I "$fuzz_root/rti/api"
               -I "$fuzz_root/hlatime" -pthread)
  local link=() arg
  for arg in "$@"; do
    case $arg in
      *.cpp) sources+=("$arg") ;;
      -Wl,* | -l*) link+=("$arg") ;;
      *) flags+=("$arg") ;;
    esac
  done
  local binary=$fuzz_out/${name}_fuzz work=$fuzz_out/$name objects=$fuzz_out/obj/$name
  # A target may have no seeds in the tree (it writes its own into the work
  # folder): libFuzzer would stop at a corpus folder that does not exist.
  local seeds=()
  [ -d "$corpus" ] && seeds=("$corpus")
  local options=(-max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -max_len=4096 -close_fd_mask=1
                 -print_final_stats=1)
  [ -n "$dict" ] && options+=(-dict="$dict")
  # A fixed seed makes a short run repeat the same inputs (the gate's check).
  [ -n "${FUZZ_SEED:-}" ] && options+=(-seed="$FUZZ_SEED")
  mkdir -p "$work/corpus" "$objects"
  echo "== building $binary"
  # One object per source, named after its path in the tree.
  local pairs=() file
  for file in "${sources[@]}"; do
    file=$(cd "$(dirname "$file")" && pwd)/$(basename "$file")
    local relative=${file#"$fuzz_root"/}
    pairs+=("$file" "$objects/${relative//\//_}.o")
  done
  printf '%s\0' "${pairs[@]}" |
    xargs -0 -n 2 -P "$(nproc)" bash -c 'a=("$@"); n=$#; exec "${a[@]:0:n-2}" -c "${a[n-2]}" -o "${a[n-1]}"' \
      compile "${fuzz_launcher[@]}" "$fuzz_cxx" "${flags[@]}" || return 1
  local built=() i
  for ((i = 1; i < ${#pairs[@]}; i += 2)); do built+=("${pairs[i]}"); done
  "$fuzz_cxx" "${flags[@]}" "${built[@]}" -o "$binary" -ldl "${link[@]}" || return 1
  echo "== running $name for $seconds s"
  (cd "$work" && "$binary" "${options[@]}" "${fuzz_options[@]}" corpus "${seeds[@]}")
}
