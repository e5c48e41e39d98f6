#!/usr/bin/env bash
# `make run`: until the desktop program exists, show the shipped default data file.
set -euo pipefail
build=${1:-build}
prog="$build/program"
exec "$prog/n27-cli" show "$prog/Init/N27PR_0.dat"
