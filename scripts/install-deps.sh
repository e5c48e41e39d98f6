#!/usr/bin/env bash
# Installs every Debian package the N27 programmer needs to build, test and run.
# Idempotent: packages already present are skipped; works as root or through sudo.
set -euo pipefail

packages=(
  build-essential cmake pkg-config ccache
  googletest libgtest-dev libgmock-dev
  qt6-base-dev qt6-base-dev-tools qt6-serialport-dev libgl-dev
  # the radio history: Qt's SQLite and PostgreSQL drivers, and a PostgreSQL server for its tests
  libqt6sql6-sqlite libqt6sql6-psql postgresql
  qt6-qpa-plugins
  # Qt's own Chinese texts: file dialogs, the print dialog and message-box buttons
  qt6-translations-l10n
  fonts-noto-cjk
  xvfb xauth imagemagick
  locales
  # `make package` and its checks: dependencies of the .deb, the menu entry and AppStream file
  dpkg-dev file desktop-file-utils appstream
)
# `make fuzz` (install-deps.sh --fuzz) also needs clang and its libFuzzer runtime.
if [ "${1:-}" = "--fuzz" ]; then
  packages+=(clang libclang-rt-14-dev)
fi

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done

if [ "$(id -u)" -eq 0 ]; then
  SUDO=""
else
  SUDO="sudo"
fi

if [ ${#missing[@]} -ne 0 ]; then
  echo "Installing: ${missing[*]}"
  $SUDO apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

# A comma-decimal locale, so the tests check that numbers keep their "." under it.
if ! locale -a 2>/dev/null | grep -qi '^de_DE\.utf-\?8$'; then
  echo "Generating the de_DE.UTF-8 locale"
  $SUDO sed -i 's/^# *\(de_DE\.UTF-8 UTF-8\)/\1/' /etc/locale.gen
  grep -q '^de_DE.UTF-8 UTF-8' /etc/locale.gen || echo 'de_DE.UTF-8 UTF-8' | $SUDO tee -a /etc/locale.gen >/dev/null
  $SUDO locale-gen >/dev/null
fi
