#!/usr/bin/env bash
# Runs every libFuzzer harness built in BUILD/fuzz for SECONDS each (optionally only the ones
# named) and prints executions and findings per harness. Seed inputs come from
# fuzz/corpus/<name>/ (read only); what a run adds goes to BUILD/corpus/<name>/, a crashing
# input to BUILD/findings/<name>/. Exit status 1 when any harness found something.
# FUZZ_RUNS=N stops a harness after N executions if that comes before SECONDS.
#   scripts/run-fuzz.sh BUILD SECONDS [NAME ...]
set -uo pipefail
build=${1:?build folder}
seconds=${2:-60}
shift 2 || true
only=" $* "
here=$(cd "$(dirname "$0")/.." && pwd)

found=0
printf '%-22s %12s %10s %s\n' harness executions exec/s result
for exe in "$build"/fuzz/*_fuzz; do
  [ -x "$exe" ] || continue
  name=$(basename "$exe" _fuzz)
  if [ "$only" != "  " ] && [[ "$only" != *" $name "* ]]; then continue; fi
  work="$build/corpus/$name"
  findings="$build/findings/$name"
  mkdir -p "$work" "$findings"
  seeds=()
  [ -d "$here/fuzz/corpus/$name" ] && seeds=("$here/fuzz/corpus/$name")
  log="$build/fuzz-$name.log"
  "$exe" -max_total_time="$seconds" ${FUZZ_RUNS:+-runs="$FUZZ_RUNS"} -print_final_stats=1 -timeout=10 -rss_limit_mb=2048 \
    -artifact_prefix="$findings/" "$work" "${seeds[@]}" >"$log" 2>&1
  status=$?
  execs=$(grep -o 'stat::number_of_executed_units: *[0-9]*' "$log" | grep -o '[0-9]*$' | tail -1)
  rate=$(grep -o 'stat::average_exec_per_sec: *[0-9]*' "$log" | grep -o '[0-9]*$' | tail -1)
  if [ $status -eq 0 ]; then
    result="no finding"
  else
    result="FINDING (exit $status): see $log and $findings/"
    found=1
  fi
  printf '%-22s %12s %10s %s\n' "$name" "${execs:-?}" "${rate:-?}" "$result"
done
exit $found
