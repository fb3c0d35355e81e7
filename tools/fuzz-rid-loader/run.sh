#!/usr/bin/env bash
# Builds the RID loader's fuzz target with clang's libFuzzer (AddressSanitizer
# and UndefinedBehaviorSanitizer) and runs it for a bounded time on one core.
# Not part of the normal build or test run.
#
#   tools/fuzz-rid-loader/run.sh [SECONDS]
#
# SECONDS defaults to 60. A crash is written to build-fuzz/rid/ with the corpus
# the run grew; the exit status is non-zero when the target found one.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
. "$here/../fuzz-common.sh"
# Every interpreter the loader makes gets its built-ins through the target's
# wrapper, which takes away the ones that leave the process or never end.
fuzz_target rid "$here/rid_fuzz.cpp" "${1:-60}" "$here/corpus" "$here/../fuzz-lisp-reader/lisp.dict" \
    -Wl,--wrap=_Z19DtcRegisterBuiltinsRK9DtlObjPtr
