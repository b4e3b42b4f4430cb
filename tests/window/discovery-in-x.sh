#!/usr/bin/env bash
# Inside a virtual display: a host announces itself, and a guest picks it from
# the setup dialog's list of hosts found, with the keyboard, and joins it.
#   usage: discovery-in-x.sh HOST_FOLDER GUEST_FOLDER OUTPUT_FOLDER
set -euo pipefail
hostdir=$1 guestdir=$2 out=$3
source "$(dirname "$0")/desktop.sh"

start_desktop
start_copy "$hostdir/vanu" "$out/discovery-host.log"
hostwin=$copy_window
keys "$hostwin" alt+c h
wait_for 15 xdotool search --name "^Hosty is Host on "

start_copy "$guestdir/vanu" "$out/discovery-guest.log"
guestwin=$copy_window
keys "$guestwin" alt+c t
wait_for 10 window_of "Setup Configuration"
setupwin=$(window_of "Setup Configuration")
# The first click, on the arrow in the host field, opens the list of the
# hosts found; the host was announced before the dialog opened.
sleep 2
xdotool windowactivate --sync "$setupwin"
xdotool mousemove --window "$setupwin" 69 51 click 1
sleep 1
shot "$out/discovery-1-found-hosts.png"
# The second picks it (here with the keyboard, in the open list); OK.
xdotool key --delay 100 Down Return
sleep 0.5
keys "$setupwin" Return
keys "$guestwin" alt+c g
wait_for 15 window_of "Confirm" # the first secure chat with this host: its key is trusted
xdotool key Return
wait_for 15 window_of "Anna is Guest to 10.77.0.1"
sleep 2 # the registration goes out a second after the connection
shot "$out/discovery-2-guest-joined.png"

keys "$hostwin" alt+c s
wait_for 10 window_of "Save File"
xdotool key Return
wait_for 10 test -f "$hostdir/DirChat1.txt"
grep -q "New guest coming from address: 10.77.0.1" "$hostdir/DirChat1.txt"
echo "the guest found the host on the network, picked it and joined it at 10.77.0.1"
