#!/usr/bin/env bash
# Generates the shipped default data files Init/N27PR_0.dat (400 - 490 MHz) and
# Init/N27PR_1.dat (136 - 174 MHz): a new configuration of the band with 16 channels spread
# evenly over it, each created the way the channel grid creates a channel when its receive
# frequency is typed (so every other field has a new channel's defaults).
#
# Usage: scripts/make-default-files.sh [BUILD_DIR [OUT_DIR]]
#   BUILD_DIR  where n27-cli was built (default ./build; e.g. `cmake --build build --target n27-cli`)
#   OUT_DIR    where the files go (default ./Init, the shipped ones)
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build}
out_dir=${2:-$root/Init}
cli="$build/program/n27-cli"
[ -x "$cli" ] || { echo "make-default-files: $cli not found; build n27-cli first" >&2; exit 1; }

# make_band BAND FIRST_MHZ STEP_MHZ: channels 1..16 at FIRST, FIRST+STEP, …
make_band() {
  local band=$1 first=$2 step=$3
  local out="$out_dir/N27PR_$band.dat"
  local args=() ch freq
  for ch in $(seq 1 16); do
    freq=$(LC_ALL=C awk -v f="$first" -v s="$step" -v c="$ch" 'BEGIN { printf "%.5f", f + s * (c - 1) }')
    args+=("$ch" 1 "$freq")
  done
  mkdir -p "$out_dir"
  "$cli" new --band "$band" --empty -o "$out" >/dev/null
  "$cli" edit "$out" "${args[@]}" >/dev/null
  # The side values of a new configuration are 0 and the data file holds them too.
  rm -f "${out%dat}NVD"
}

make_band 0 400 6     # 400.00000 … 490.00000 MHz
make_band 1 136 2.5   # 136.00000 … 173.50000 MHz
