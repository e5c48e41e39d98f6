#!/usr/bin/env bash
# Makes the demo configuration that `make run` loads into the simulated radio: a 400 - 490 MHz
# radio with a dozen channels (simplex, repeater, CTCSS and DCS tones, mixed power and
# spacing) and a few radio settings, built with n27-cli from a new empty configuration.
#   scripts/make-demo-radio.sh N27-CLI OUT.dat
set -euo pipefail
cli=$1
out=$2
"$cli" new --band 0 --empty -o "$out" >/dev/null
edit() { "$cli" edit "$out" "$@" >/dev/null; }
if ! "$cli" edit --help >/dev/null 2>&1; then
  # Without the edit command the shipped default channels stand in.
  "$cli" new --band 0 -o "$out" >/dev/null
  exit 0
fi
edit 1 1 446.00625  1 3 67.0   1 4 67.0
edit 2 1 446.01875  2 3 88.5   2 4 88.5
edit 3 1 446.03125
edit 4 1 446.04375  4 3 D023N  4 4 D023N
edit 5 1 446.05625  5 5 Low
edit 6 1 446.06875  6 9 12.5K
edit 7 1 446.08125
edit 8 1 446.09375  8 3 D754I  8 4 D754I
edit 10 1 439.2500  10 2 431.6500  10 4 123.0
edit 11 1 438.8250  11 2 431.2250  11 4 123.0
edit 12 1 462.5625  12 5 High
edit 16 1 467.7125  16 6 Del
if "$cli" set --list >/dev/null 2>&1; then
  "$cli" set "$out" message.line1 "N27 DEMO" message.line2 "DEALER 01" >/dev/null 2>&1 || true
fi
