#!/usr/bin/env bash
# Builds every fuzz target (tools/fuzz-*/run.sh) and runs each over its seeds
# and then a few seconds more, so that a target that no longer builds, starts
# or survives its own corpus is caught. Prints a line per target, and a
# failing target's whole output; exits non-zero when any failed. The long
# runs are done by hand (tools/fuzz-<name>/run.sh [SECONDS]). The check runs
# with a fixed seed (FUZZ_SEED, default 1) so that it does not pass or fail by
# chance: it explores the same inputs each time, as far as the seconds reach.
#
#   tools/check-fuzz.sh [SECONDS]     (default 10 s per target)
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-10}
export FUZZ_SEED=${FUZZ_SEED:-1}
logs=build-fuzz/check
mkdir -p "$logs"

failed=()
for script in tools/fuzz-*/run.sh; do
    name=$(basename "$(dirname "$script")")
    log=$logs/$name.log
    start=$SECONDS
    if "$script" "$seconds" >"$log" 2>&1; then
        runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | paste -sd+ -)
        echo "$name: passed in $((SECONDS - start)) s (${runs:-?} runs)"
    else
        echo "$name: FAILED after $((SECONDS - start)) s; its output:"
        sed 's/^/  /' "$log"
        failed+=("$name")
    fi
done
if [ ${#failed[@]} -gt 0 ]; then
    echo "Fuzz targets that failed: ${failed[*]}" >&2
    exit 1
fi
