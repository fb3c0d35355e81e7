#!/usr/bin/env bash
# Builds Quorlex (with libhlacore, and the radio federate that plays HLA radios) and starts it.
# Arguments go to the program.
set -euo pipefail
cd "$(dirname "$0")"
. tools/ensure-packages.sh

ensure_packages g++ cmake make ccache pkg-config qt6-base-dev libgl-dev
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQLX_BUILD_TESTS=OFF -DQLX_BUILD_BENCH=OFF
cmake --build build -j "$(nproc)" --target quorlex radio-federate
exec build/bin/quorlex "$@"
