#!/usr/bin/env bash
# Adds the N27 programmer to the desktop menu of the current user: the menu entry
# (data/desktop/n27.desktop) pointing at the built program, and its icon.
#   scripts/install-desktop.sh [BUILD_DIR]      (default: build)
set -euo pipefail
cd "$(dirname "$0")/.."
program="$(cd "${1:-build}/program" && pwd)/n27"
[ -x "$program" ] || { echo "Build the program first (make build)." >&2; exit 1; }
apps="${XDG_DATA_HOME:-$HOME/.local/share}/applications"
icons="${XDG_DATA_HOME:-$HOME/.local/share}/icons/hicolor/256x256/apps"
mkdir -p "$apps" "$icons"
cp data/n27.png "$icons/n27.png"
sed "s|^Exec=n27 |Exec=\"$program\" |" data/desktop/n27.desktop > "$apps/n27.desktop"
command -v update-desktop-database >/dev/null && update-desktop-database "$apps" || true
echo "Installed $apps/n27.desktop"
