#!/usr/bin/env bash
# Makes the demo configuration that `make run` loads into the simulated radio: a 400 - 490 MHz
# radio with a dozen channels (simplex and repeater channels, CTCSS and DCS tones, mixed power
# and spacing) and some radio settings, built with n27-cli from a new empty configuration.
#   scripts/make-demo-radio.sh N27-CLI OUT.dat
set -euo pipefail
cli=$1
out=$2
"$cli" new --band 0 --empty -o "$out" >/dev/null
"$cli" edit "$out" \
  1 1 446.00625   1 3 67.0    1 4 67.0 \
  2 1 446.01875   2 3 88.5    2 4 88.5 \
  3 1 446.03125 \
  4 1 446.04375   4 3 D023N   4 4 D023N \
  5 1 446.05625   5 5 Low \
  6 1 446.06875   6 9 "12.5K(Narrow)" \
  7 1 446.08125   7 11 Carrier \
  8 1 446.09375   8 3 D754I   8 4 D754I \
  10 1 439.25     10 2 431.65  10 4 123.0 \
  11 1 438.825    11 2 431.225 11 4 123.0  11 3 123.0 \
  12 1 462.5625   12 5 High \
  16 1 467.7125   16 6 Del >/dev/null
"$cli" set "$out" \
  function.squelch 5 function.tot 120 function.batterysave 1:4 function.voiceprompt English \
  key.key1press RRM key.key2hold "TX<->RX" \
  scan.priority Fixd scan.bank1 2 \
  message.line1 "N27 DEMO RADIO" message.line2 "DEALER TEST 01" >/dev/null
