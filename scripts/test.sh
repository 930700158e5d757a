#!/usr/bin/env bash
# Installs what is missing, builds and runs every test, in parallel and headless,
# with a throwaway database server for the server provider's tests.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
bash scripts/build.sh
export QT_QPA_PLATFORM=offscreen

# A throwaway database server for the tests of the server provider, stopped
# however the run ends. Tests that need it fail when it does not answer.
PG_DIR="$(mktemp -d "${TMPDIR:-/tmp}/tolvenk-pg.XXXXXX")"
trap 'bash scripts/pg-test-cluster.sh stop "$PG_DIR"' EXIT
TOLVENK_PG="$(bash scripts/pg-test-cluster.sh start "$PG_DIR")"
export TOLVENK_PG

ctest --test-dir build --output-on-failure -j"$(nproc)"
