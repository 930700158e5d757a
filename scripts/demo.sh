#!/usr/bin/env bash
# Installs what is missing, builds, creates the demo databases (once) and
# starts the module on them. Pass --fresh to rebuild the demo data.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
bash scripts/build.sh

DEMO="$PWD/demo"
if [ "${1:-}" = "--fresh" ]; then rm -rf "$DEMO"; fi
if [ ! -f "$DEMO/TAM08.mdb" ]; then
  mkdir -p "$DEMO"
  rm -f "$DEMO/TAM08.mdb" "$DEMO/Config.mdb"
  build/tools/tolvenk-demo-gen "$DEMO/TAM08.mdb" --config "$DEMO/Config.mdb"
fi

echo
echo "Demo business database:      $DEMO/TAM08.mdb"
echo "Demo configuration database: $DEMO/Config.mdb"
