#!/usr/bin/env bash
# Writes data/dec.tbl, the DCS decode table the program loads at start-up: the 83 standard
# DCS codes in ascending order, one byte each. The program adds 256 to entries 51..83, so a
# code of 0o400 and above is stored less 0o400 (its first octal digit less 4).
#
#   bash scripts/make-dec-table.sh            # writes data/dec.tbl
#   bash scripts/make-dec-table.sh OUT        # writes OUT
set -euo pipefail
cd "$(dirname "$0")/.."
out="${1:-data/dec.tbl}"

codes=(
  023 025 026 031 032 043 047 051 054 065 071 072 073 074
  114 115 116 125 131 132 134 143 152 155 156 162 165 172 174
  205 223 226 243 244 245 251 261 263 265 271
  306 311 315 331 343 346 351 364 365 371
  411 412 413 423 431 432 445 464 465 466
  503 506 516 532 546 565
  606 612 624 627 631 632 654 662 664
  703 712 723 731 732 734 743 754
)
[ ${#codes[@]} -eq 83 ] || { echo "expected 83 codes, have ${#codes[@]}" >&2; exit 1; }

: >"$out"
for i in "${!codes[@]}"; do
  code=${codes[$i]}
  high=$(( ${code:0:1} % 4 ))
  if [ "$i" -lt 50 ] && [ "${code:0:1}" -ge 4 ]; then
    echo "code $code cannot stand among the first 50 entries" >&2; exit 1
  fi
  if [ "$i" -ge 50 ] && [ "${code:0:1}" -lt 4 ]; then
    echo "code $code must stand among the first 50 entries" >&2; exit 1
  fi
  printf "\\$high${code:1:2}" >>"$out"
done
echo "wrote $out ($(stat -c %s "$out") bytes)"
