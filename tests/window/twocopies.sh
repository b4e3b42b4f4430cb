#!/usr/bin/env bash
# Two real copies of the program chatting: usage twocopies.sh VANU_BINARY OUTPUT_FOLDER.
# Each copy runs from a folder of its own with its own "LastSetup.set".
set -euo pipefail
binary=$1 out=$2
mkdir -p "$out"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
for who in host guest; do
  mkdir "$work/$who"
  cp "$binary" "$work/$who/vanu"
done
printf '0\r\nBlue\r\nHosty\r\n127.0.0.1\r\n' >"$work/host/LastSetup.set"
printf '0\r\nNavy\r\nAnna\r\n127.0.0.1\r\n' >"$work/guest/LastSetup.set"
export QT_QPA_PLATFORM=xcb
xvfb-run -a -s "-screen 0 1024x768x24" "$(dirname "$0")/twocopies-in-x.sh" "$work/host" "$work/guest" "$out"
