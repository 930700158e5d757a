#!/usr/bin/env bash
# Installs what is missing, builds, creates the demo databases (once) and
# starts the module on them through the host program. Pass --fresh to rebuild
# the demo data; TOLVENK_MENU chooses another window ("7034;1;7942").
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
# Only what the demo runs: the library, the host and the generator.
bash scripts/build.sh tolvenk tolvenk-host tolvenk-demo-gen

DEMO="$PWD/demo"
if [ "${1:-}" = "--fresh" ]; then rm -rf "$DEMO"; fi
if [ ! -f "$DEMO/TAM08.mdb" ]; then
  mkdir -p "$DEMO"
  rm -f "$DEMO/TAM08.mdb" "$DEMO/Config.mdb"
  build/tools/tolvenk-demo-gen "$DEMO/TAM08.mdb" --config "$DEMO/Config.mdb"
fi

echo "Demo business database:      $DEMO/TAM08.mdb"
echo "Demo configuration database: $DEMO/Config.mdb"

# menu code;language (0 Simplified Chinese, 1 English, 2 Traditional);access code
MENU="${TOLVENK_MENU:-7032;0;7942}"
echo "Opening menu $MENU as operator admin"
build/app/tolvenk-host "$MENU" admin "$DEMO;Config.mdb;;"
