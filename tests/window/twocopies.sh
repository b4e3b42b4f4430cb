#!/usr/bin/env bash
# Two real copies of the program chatting: usage twocopies.sh VANU_BINARY OUTPUT_FOLDER.
# Each copy runs from a folder of its own with its own "LastSetup.set".
set -euo pipefail
binary=$1 out=$2
mkdir -p "$out"
source "$(dirname "$0")/copies.sh"
fresh_copies "$binary"
xvfb-run -a -s "-screen 0 1024x768x24" "$(dirname "$0")/twocopies-in-x.sh" "$work/host" "$work/guest" "$out"
