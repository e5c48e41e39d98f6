#!/usr/bin/env bash
# Writes a manual page from a program's own --help text, so the page never drifts from it.
#   scripts/make-man.sh PROGRAM TEMPLATE OUTPUT VERSION
# TEMPLATE is a roff page whose line "@HELP@" becomes SYNOPSIS and DESCRIPTION (the usage and
# options of PROGRAM --help) and, for a program with commands (n27-cli), one subsection per
# command from "PROGRAM COMMAND --help". "@VERSION@" and "@DATE@" are filled in.
set -euo pipefail
program=$1 template=$2 output=$3 version=$4
name=$(basename "$program")

# help text -> roff. Usage lines (and their indented continuation) become a no-fill block,
# "  -x, --opt ARG    text" lines become tagged paragraphs, other text is filled.
to_roff() {
  awk -v section="$1" '
    function esc(s) { gsub(/\\/, "\\e", s); gsub(/-/, "\\-", s); sub(/^[.'"'"']/, "\\\\&&", s); return s }
    function endusage() { if (mode == "usage") { print ".fi"; if (section != "") print ".SH DESCRIPTION"; mode = "text" } }
    function indent(s) { return match(s, /[^ ]/) - 1 }
    /^Usage:/ {
      line = $0; sub(/^Usage: */, "", line)
      if (section != "") print ".SH SYNOPSIS"
      print ".nf"; print "\\fB" esc(line) "\\fR"; mode = "usage"; next
    }
    mode == "usage" && /^[ \t]+[^ \t]/ { line = $0; sub(/^[ \t]+/, "", line); print "    " esc(line); next }
    { endusage() }
    /^[ \t]*$/ { print ".PP"; item = 0; next }
    {
      n = indent($0); line = substr($0, n + 1)
      if (n >= 1 && n <= 4 && match(line, /[^ ]  +[^ ]/)) {
        head = substr(line, 1, RSTART); text = substr(line, RSTART + 1); sub(/^ +/, "", text)
        print ".TP"; print "\\fB" esc(head) "\\fR"; print esc(text); item = 1; next
      }
      if (n >= 1 && n <= 4 && line ~ /^-/) { print ".TP"; print "\\fB" esc(line) "\\fR"; item = 1; next }
      if (item && n >= 5) { print esc(line); next }
      if (n == 0 && line ~ /:$/) { print ".PP"; print esc(line); print ".br"; item = 0; next }
      print esc(line); item = 0
    }
    END { endusage() }
  '
}

help_text() { "$program" "$@" --help 2>&1 | sed "s|$program|$name|g" || true; }

{
  while IFS= read -r line; do
    if [ "$line" = "@HELP@" ]; then
      help_text | to_roff main
      commands=$("$program" --help 2>/dev/null | sed -n 's/^  \([a-z][a-z-]*\)  .*/\1/p' || true)
      if [ "$name" = "n27-cli" ] && [ -n "$commands" ]; then
        echo ".SH COMMANDS"
        for c in $commands; do
          echo ".SS ${name//-/\\-} $c"
          help_text "$c" | to_roff ""
        done
      fi
    else
      line=${line//@VERSION@/$version}
      echo "${line//@DATE@/${N27_MAN_DATE:-2026-12-08}}"
    fi
  done <"$template"
} >"$output.tmp"
mv "$output.tmp" "$output"
