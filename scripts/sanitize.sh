#!/usr/bin/env bash
# Builds everything with AddressSanitizer and UndefinedBehaviorSanitizer into
# build-asan/ and runs every test there, with a throwaway database server.
# Too slow for CI; run it by hand before a change that touches memory or
# arithmetic. Extra arguments go to ctest (e.g. -R Subsidy).
# A finding stops the test it happens in with a stack; third-party leaks
# only are silenced, by scripts/sanitize.supp.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh

flags="-fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined"
[ -f build-asan/build.ninja ] || cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=Debug \
  -DCMAKE_CXX_FLAGS="$flags" -DCMAKE_C_FLAGS="$flags" \
  -DCMAKE_EXE_LINKER_FLAGS="-fsanitize=address,undefined" \
  -DCMAKE_SHARED_LINKER_FLAGS="-fsanitize=address,undefined" \
  -DCMAKE_MODULE_LINKER_FLAGS="-fsanitize=address,undefined"

supp="$PWD/scripts/sanitize.supp"
# Test discovery runs the test programs at build time, so the options are
# set before the build. The host's tests preload their driver into it, ahead
# of the sanitizer's runtime: that order is allowed.
export ASAN_OPTIONS="verify_asan_link_order=0:halt_on_error=1:detect_leaks=1:abort_on_error=0:strict_string_checks=1:detect_stack_use_after_return=1:check_initialization_order=1"
export UBSAN_OPTIONS="halt_on_error=1:print_stacktrace=1"
export LSAN_OPTIONS="suppressions=$supp:print_suppressions=0"
export QT_QPA_PLATFORM=offscreen
CMAKE_BUILD_PARALLEL_LEVEL="${CMAKE_BUILD_PARALLEL_LEVEL:-4}" cmake --build build-asan

PG_DIR="$(mktemp -d "${TMPDIR:-/tmp}/tolvenk-pg.XXXXXX")"
trap 'bash scripts/pg-test-cluster.sh stop "$PG_DIR"' EXIT
TOLVENK_PG="$(bash scripts/pg-test-cluster.sh start "$PG_DIR")"
export TOLVENK_PG

ctest --test-dir build-asan --output-on-failure -j"${SANITIZE_JOBS:-4}" --timeout 600 "$@"
