#!/usr/bin/env bash
# Checks that every C++ file is in its house style (tools/check-format.sh);
# builds everything with AddressSanitizer and UndefinedBehaviorSanitizer,
# checks the sources with clang-tidy (tools/check-tidy.sh) and runs every
# test; installs a release build of libhlacore and builds a federate against
# it, and runs the tests that need a build without a sanitizer there; builds
# the threaded suites with ThreadSanitizer and runs them; then builds every
# fuzz target and runs it briefly (tools/check-fuzz.sh). Every build treats
# warnings as errors. Exits non-zero on any failure.
set -euo pipefail
cd "$(dirname "$0")"
. tools/ensure-packages.sh

ensure_packages g++ cmake make ccache pkg-config qt6-base-dev libgl-dev \
    libgtest-dev libgmock-dev libbenchmark-dev iproute2 util-linux clang-format clang-tidy \
    clang libclang-rt-14-dev
jobs=$(nproc)
export LSAN_OPTIONS="suppressions=$PWD/tests/lsan.supp"
export TSAN_OPTIONS="suppressions=$PWD/tests/tsan.supp halt_on_error=1"
export UBSAN_OPTIONS="print_stacktrace=1"

tools/check-format.sh

cmake -S . -B build-test -DCMAKE_BUILD_TYPE=Debug -DQLX_SANITIZE=address,undefined -DQLX_WERROR=ON
cmake --build build-test -j "$jobs"
tools/check-tidy.sh build-test
run_isolated ctest --test-dir build-test --output-on-failure -j "$jobs"

# libhlacore installed from a plain release build and used from outside the
# tree, through find_package and through pkg-config; the same build runs the
# tests that a sanitizer's runtime would falsify (resident memory).
cmake -S . -B build-rel -DCMAKE_BUILD_TYPE=Release -DQLX_BUILD_TESTS=ON -DQLX_BUILD_BENCH=OFF -DQLX_WERROR=ON
cmake --build build-rel --target hlacore hlatime rtiexec qlx_unsanitized_tests -j "$jobs"
tests/rti/api/install/check-install.sh build-rel
run_isolated ctest --test-dir build-rel -L unsanitized --output-on-failure -j "$jobs"

cmake -S . -B build-tsan -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQLX_SANITIZE=thread -DQLX_BUILD_BENCH=OFF -DQLX_WERROR=ON
cmake --build build-tsan --target qlx_tsan_tests -j "$jobs"
run_isolated ctest --test-dir build-tsan -L tsan --output-on-failure -j "$jobs"

run_isolated tools/check-fuzz.sh 10
