#!/usr/bin/env bash
# The one place that installs what the build, the demo and the tests need.
set -euo pipefail

PACKAGES=(
  g++ cmake ninja-build pkg-config
  libsqlite3-dev
  # the server provider, and the throwaway server its tests start
  libpq-dev postgresql
  qt6-base-dev
  # Qt's own dialogs (open, save, print) in the user's language
  qt6-translations-l10n
  libminizip-dev libpugixml-dev zlib1g-dev
  # reading .xls workbooks; writing .xlsx workbooks in the import tests
  libfreexl-dev libxlsxwriter-dev
  libgtest-dev poppler-utils
  # Chinese glyphs for windows, screenshots and printed pages
  fonts-wqy-microhei
)

missing=()
for p in "${PACKAGES[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

SUDO=""
if [ "$(id -u)" -ne 0 ]; then
  command -v sudo >/dev/null || { echo "Installing ${missing[*]} needs root (or sudo)." >&2; exit 1; }
  SUDO="sudo"
fi
echo "Installing: ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -q
$SUDO apt-get install -y -q --no-install-recommends "${missing[@]}"
