#!/usr/bin/env bash
# The real program in a real window: usage startup.sh VANU_BINARY OUTPUT_FOLDER [CHECK].
# The program runs from a folder of its own, where it may write its files.
# CHECK is the script beside this one that runs inside the display
# (startup-in-x.sh when not given).
set -euo pipefail
binary=$1 out=$2 check=${3:-startup-in-x.sh}
mkdir -p "$out"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp "$binary" "$work/vanu"
export QT_QPA_PLATFORM=xcb
xvfb-run -a -s "-screen 0 1024x768x24" "$(dirname "$0")/$check" "$work/vanu" "$out"
