#!/usr/bin/env bash
# Inside a virtual display: two copies of the program chat, driven only by
# their keyboard accelerators, as two users on one machine would.
#   usage: twocopies-in-x.sh HOST_FOLDER GUEST_FOLDER OUTPUT_FOLDER
set -euo pipefail
hostdir=$1 guestdir=$2 out=$3
source "$(dirname "$0")/desktop.sh"
step=0
snap() { step=$((step + 1)); shot "$out/twocopies-$step-$1.png"; }

start_desktop

# The first copy becomes the host.
start_copy "$hostdir/vanu" "$out/twocopies-host.log"
hostpid=$copy_pid hostwin=$copy_window
keys "$hostwin" alt+c h
wait_for 15 xdotool search --name "^Hosty is Host on "
snap host-listening

# The second becomes its guest.
start_copy "$guestdir/vanu" "$out/twocopies-guest.log"
guestpid=$copy_pid guestwin=$copy_window
keys "$guestwin" alt+c g
# The first secure chat with this host: the guest is shown the host's key
# to compare, and trusts it.
wait_for 15 window_of "Confirm"
sleep 0.5
snap guest-compares-key
xdotool key Return
wait_for 15 window_of "Anna is Guest to 127.0.0.1"
# The registration goes out a second after the connection is made.
sleep 2
snap guest-connected

# The guest says hello; the focus is in its input line.
xdotool windowactivate --sync "$guestwin"
xdotool type --delay 50 hello
xdotool key Return
sleep 1
snap guest-said-hello

# The host saves its chat: the save dialog proposes DirChat1.txt in its folder.
keys "$hostwin" alt+c s
wait_for 10 window_of "Save File"
sleep 0.5
snap host-save-dialog
xdotool key Return
wait_for 10 test -f "$hostdir/DirChat1.txt"
grep -qx $'<Anna>\r' "$hostdir/DirChat1.txt"
grep -qx $' hello\r' "$hostdir/DirChat1.txt"

# The host ends; it asks first, since a guest is connected.
keys "$hostwin" alt+c e
wait_for 10 window_of "Confirm"
snap host-asks
xdotool key Return
# The process ends with its window, not a while after it.
wait_for 10 bash -c "! xdotool search --name '^Hosty is Host on ' >/dev/null"
gone=$(date +%s%N)
for ((try = 0; try < 1500; ++try)); do kill -0 "$hostpid" 2>/dev/null || break; sleep 0.01; done
lived=$((($(date +%s%N) - gone) / 1000000))
echo "the host's process ended ${lived} ms after its window"
[ "$lived" -le 300 ] || { echo "the host's process lived ${lived} ms after its window" >&2; exit 1; }
code=0
wait_exit "$hostpid" 15 || code=$?
[ "$code" -eq 0 ] || { echo "the host ended with $code" >&2; exit 1; }

sleep 1
snap host-gone

# The guest saves what it saw, the host's farewell included, and ends.
keys "$guestwin" alt+c s
wait_for 10 window_of "Save File"
xdotool key Return
wait_for 10 test -f "$guestdir/DirChat1.txt"
grep -q "VanuServer is Down" "$guestdir/DirChat1.txt"
keys "$guestwin" alt+c e
code=0
wait_exit "$guestpid" 15 || code=$?
snap guest-gone
[ "$code" -eq 0 ] || { echo "the guest ended with $code" >&2; exit 1; }
echo "two copies chatted; both transcripts hold what they should; both ended with exit code 0"
