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
. "$here/../fuzz-common.sh"
seconds=${1:-60}
which=${2:-all}

status=0
for target in reader eval; do
  [[ $which == all || $which == "$target" ]] || continue
  fuzz_target "$target" "$here/${target}_fuzz.cpp" "$seconds" "$here/corpus" "$here/lisp.dict" || status=1
done
exit $status
