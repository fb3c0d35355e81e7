#!/usr/bin/env bash
# Builds the MOM object fuzz target (any bytes as the save record of the
# Manager.Federate or Manager.Federation object, read back by its publisher)
# with clang's libFuzzer (AddressSanitizer and UndefinedBehaviorSanitizer) and
# runs it for a bounded time on one core. Not part of the normal build or test
# run.
#
#   tools/fuzz-mom-objects/run.sh [SECONDS]
#
# SECONDS defaults to 60. A crash is written to build-fuzz/momobjects/ with the
# corpus the run grew; the exit status is non-zero when the target found one.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
. "$here/../fuzz-common.sh"
root=$(cd "$here/../.." && pwd)
fuzz_target momobjects "$here/mom_objects_fuzz.cpp" "${1:-60}" "$here/corpus" "$here/mom_objects.dict" \
    "$root"/rti/mom/*.cpp "$root"/rti/objects/*.cpp "$root"/rti/msg/*.cpp "$root"/rti/save/*.cpp "$root"/rti/net/*.cpp "$root"/rti/api/*.cpp \
    "$root"/hlatime/*.cpp -I "$root/rti/api" -I "$root/hlatime" -DQLX_SOURCE_ROOT="\"$root\""
