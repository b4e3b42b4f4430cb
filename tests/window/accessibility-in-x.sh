#!/usr/bin/env bash
# Inside a virtual display and a private session bus: the program hosts,
# and the AT-SPI client checks what a screen reader gets from it.
#   usage: accessibility-in-x.sh HOST_FOLDER OUTPUT_FOLDER
set -euo pipefail
hostdir=$1 out=$2
source "$(dirname "$0")/desktop.sh"

start_desktop
start_copy "$hostdir/vanu" "$out/accessibility-host.log"
keys "$copy_window" alt+c h
wait_for 15 xdotool search --name "^Hosty is Host on "
# Debian's own Python, where python3-pyatspi lives.
/usr/bin/python3 "$(dirname "$0")/accessibility.py"
shot "$out/accessibility.png"
kill "$copy_pid"
