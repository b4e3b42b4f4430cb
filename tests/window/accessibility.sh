#!/usr/bin/env bash
# What a screen reader finds in the real program: usage accessibility.sh
# VANU_BINARY OUTPUT_FOLDER. On a virtual display and a session bus of its
# own, with the real AT-SPI registry, a client walks the program's
# accessibility tree and listens for the text a new chat line inserts.
set -euo pipefail
binary=$1 out=$2
mkdir -p "$out"
source "$(dirname "$0")/copies.sh"
fresh_copies "$binary"
# Qt speaks to AT-SPI once a screen reader is said to be on; here one always is.
export QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1
export NO_AT_BRIDGE=0
xvfb-run -a -s "-screen 0 1024x768x24" \
  dbus-run-session -- "$(dirname "$0")/accessibility-in-x.sh" "$work/host" "$out"
