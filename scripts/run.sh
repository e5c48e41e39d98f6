#!/usr/bin/env bash
# `make run`: starts a simulated N27 radio (n27-sim) on a pseudo-terminal with a demo
# configuration, then the programmer n27 with that port chosen. When n27 exits, the simulated
# radio is stopped. Without n27-sim in the build, n27 starts on its own.
set -euo pipefail
build=${1:-build}
prog="$build/program"
demo="$build/demo"
mkdir -p "$demo"

# The programmer needs a graphical display; say so plainly instead of Qt's plugin abort.
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ] && [ -z "${QT_QPA_PLATFORM:-}" ]; then
  echo "No graphical display (DISPLAY and WAYLAND_DISPLAY are unset): run \`xvfb-run make run\`," \
       "or use the command line here: $prog/n27-sim & $prog/n27-cli info --port <device it prints>." >&2
  exit 1
fi

if [ ! -x "$prog/n27-sim" ]; then
  exec "$prog/n27" "${@:2}"
fi

# The demo radio: several channels and settings filled in (made once, kept between runs).
data="$demo/demo-radio.dat"
if [ ! -f "$data" ]; then
  bash "$(dirname "$0")/make-demo-radio.sh" "$prog/n27-cli" "$data" || rm -f "$data"
fi
simArgs=(--save "$demo/demo-radio.img")
if [ -f "$demo/demo-radio.img" ]; then
  simArgs+=(--image "$demo/demo-radio.img")   # what the last write left in the radio
elif [ -f "$data" ]; then
  simArgs+=(--data "$data")
fi

out="$demo/n27-sim.out"
: >"$out"
"$prog/n27-sim" "${simArgs[@]}" >"$out" 2>&1 &
sim=$!
trap 'kill "$sim" 2>/dev/null || true; wait "$sim" 2>/dev/null || true' EXIT

# The simulated radio names its device on its first line.
device=""
for _ in $(seq 100); do
  device=$(head -n 1 "$out" 2>/dev/null || true)
  [ -n "$device" ] && break
  kill -0 "$sim" 2>/dev/null || break
  sleep 0.05
done
if [ -z "$device" ] || [ ! -e "$device" ]; then
  echo "The simulated radio did not start:" >&2
  cat "$out" >&2
  exit 1
fi
echo "Simulated N27 radio on $device (memory kept in $demo/demo-radio.img)"
"$prog/n27" --port "$device" "${@:2}"
