#!/usr/bin/env bash
# Three real copies and a plain guest: one guest writes privately to the other.
#   usage: privatemessage.sh VANU_BINARY OUTPUT_FOLDER
set -euo pipefail
binary=$1 out=$2
mkdir -p "$out"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
for who in host anna bob; do
  mkdir "$work/$who"
  cp "$binary" "$work/$who/vanu"
done
printf '0\r\nBlue\r\nHosty\r\n127.0.0.1\r\n' >"$work/host/LastSetup.set"
printf '0\r\nNavy\r\nAnna\r\n127.0.0.1\r\n' >"$work/anna/LastSetup.set"
printf '0\r\nRed\r\nBob\r\n127.0.0.1\r\n' >"$work/bob/LastSetup.set"
export QT_QPA_PLATFORM=xcb
xvfb-run -a -s "-screen 0 1024x768x24" "$(dirname "$0")/privatemessage-in-x.sh" "$work" "$out"
