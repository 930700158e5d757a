#!/usr/bin/env bash
# Configures (once) and builds into build/: the targets named, or everything.
set -euo pipefail
cd "$(dirname "$0")/.."
[ -f build/build.ninja ] || cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build ${1:+--target "$@"}
