#!/usr/bin/env bash
# Two real copies of the program chatting: usage twocopies.sh VANU_BINARY OUTPUT_FOLDER.
# Each copy runs from a folder of its own with its own "LastSetup.set".
set -euo pipefail
binary=$1 out=$2
mkdir -p "$out"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
source "$(dirname "$0")/copies.sh"
make_copies "$binary" "$work"
# The user's settings of this run alone: the host's key and the guest's
# pinned keys start afresh.
export XDG_CONFIG_HOME="$work/config"
export QT_QPA_PLATFORM=xcb
xvfb-run -a -s "-screen 0 1024x768x24" "$(dirname "$0")/twocopies-in-x.sh" "$work/host" "$work/guest" "$out"
