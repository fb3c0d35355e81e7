#!/usr/bin/env bash
# Builds the save file fuzz target (the rtiexec's save file and a federate's,
# read by the reader and the managers' restores) with clang's libFuzzer
# (AddressSanitizer and UndefinedBehaviorSanitizer) and runs it for a bounded
# time on one core. Not part of the normal build or test run.
#
#   tools/fuzz-save-file/run.sh [SECONDS]
#
# SECONDS defaults to 60. A crash is written to build-fuzz/savefile/ with the
# corpus the run grew; the exit status is non-zero when the target found one.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
. "$here/../fuzz-common.sh"
root=$(cd "$here/../.." && pwd)
# The time manager calls its federate manager, which the target leaves out;
# without the vptr check nothing needs that class's type information.
fuzz_target savefile "$here/save_fuzz.cpp" "${1:-60}" "$here/corpus" "$here/save.dict" \
    "$root"/rti/exec/DtExecSaveFile.cpp "$root"/rti/exec/DtExecSavedStateCheck.cpp \
    "$root"/rti/core/DtTimeMgr*.cpp "$root"/rti/core/DtTsoMsgQueue.cpp \
    "$root"/rti/core/DtRetractionList.cpp "$root"/rti/core/DtDeliveredEvents.cpp "$root"/rti/core/DtTsoEventFedAmb.cpp "$root"/rti/objects/*.cpp "$root"/rti/ddm/*.cpp "$root"/rti/msg/*.cpp "$root"/rti/save/*.cpp "$root"/rti/net/*.cpp "$root"/rti/api/*.cpp \
    "$root"/hlatime/*.cpp -I "$root/rti/api" -I "$root/hlatime" -fno-sanitize=vptr
