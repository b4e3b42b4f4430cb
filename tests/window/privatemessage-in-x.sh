#!/usr/bin/env bash
# Inside a virtual display: a host, Anna and Bob, each a user of their own
# (their own keys and history), and Carl, a plain guest that is only a socket.
# Anna writes to Bob privately. Bob's conversation shows the line; the host's
# view and history hold nothing of it, Carl gets nothing of it, and nothing
# on loopback holds it in the clear.
#   usage: privatemessage-in-x.sh WORK_FOLDER OUTPUT_FOLDER
set -euo pipefail
work=$1 out=$2
source "$(dirname "$0")/desktop.sh"
step=0
snap() { step=$((step + 1)); shot "$out/private-$step-$1.png"; }
as_user() { # as_user WHO COMMAND...: with that user's own settings and data
  local who=$1
  shift
  XDG_CONFIG_HOME="$work/$who/config" XDG_DATA_HOME="$work/$who/data" "$@"
}
absent() { # absent TEXT FILE: the file does not hold the text
  if grep -qaF -- "$1" "$2"; then
    echo "$2 holds the private line" >&2
    exit 1
  fi
}
secret="sealedline$RANDOM$RANDOM"

# Whatever the outcome, nothing started here outlives the display.
trap 'kill $(jobs -p) 2>/dev/null || true' EXIT
start_desktop
tcpdump -i lo -U -w "$out/private-loopback.pcap" 'tcp' 2>"$out/private-tcpdump.log" &
capture=$!
sleep 1

as_user host start_copy "$work/host/vanu" "$out/private-host.log"
hostwin=$copy_window hostpid=$copy_pid
keys "$hostwin" alt+c h
wait_for 15 xdotool search --name "^Hosty is Host on "
port=$(ss -ltnpH | sed -n "s/.*:\([0-9]*\) .*pid=$hostpid,.*/\1/p" | sort -n | head -n 1)

for who in anna bob; do
  name=${who^}
  as_user "$who" start_copy "$work/$who/vanu" "$out/private-$who.log"
  eval "${who}win=\$copy_window"
  keys "$copy_window" alt+c g
  # The first secure chat with this host: the key is trusted.
  wait_for 15 window_of "Confirm"
  sleep 0.5
  xdotool key Return
  wait_for 15 window_of "$name is Guest to 127.0.0.1"
done

# Carl joins in the clear and keeps all he receives.
exec 3<>"/dev/tcp/127.0.0.1/$port"
cat <&3 >"$out/private-carl-received" &
printf ' Carl' >&3
wait_for 10 grep -qF 'Carl' "$out/private-carl-received"
sleep 2 # Anna hears who is here, with their keys

# Anna opens the chooser, picks Bob by typing, and writes.
xdotool windowactivate --sync "$annawin"
xdotool key ctrl+m
wait_for 10 window_of "Private message"
sleep 0.5
snap chooser
xdotool type --delay 50 Bob
xdotool key Return
wait_for 10 window_of "^Bob$"
xdotool type --delay 20 "$secret"
xdotool key Return
# Bob's conversation comes into sight unread, and his main window counts it.
wait_for 10 window_of "^Anna \(1 new\)$"
wait_for 10 window_of "^\(1\) Bob is Guest to 127.0.0.1"
sleep 1
snap conversation

# Bob's copy keeps the line, marked private; the host's keeps nothing of it.
wait_for 10 bash -c "XDG_DATA_HOME='$work/bob/data' '$work/bob/vanu' --history '$secret' | grep -qF '[private with Anna] <Anna> $secret'"
[ -z "$(as_user host "$work/host/vanu" --history "$secret")" ]
keys "$hostwin" alt+c s
wait_for 10 window_of "Save File"
xdotool key Return
wait_for 10 test -f "$work/host/DirChat1.txt"
absent "$secret" "$work/host/DirChat1.txt"
absent "$secret" "$out/private-carl-received"

kill -INT "$capture"
wait "$capture" || true
# The capture saw the chat: what Carl got in the clear is in it.
grep -qaF "Welcome to Hosty's coupon" "$out/private-loopback.pcap"
absent "$secret" "$out/private-loopback.pcap"
echo "the private line crossed loopback sealed: $(stat -c %s "$out/private-loopback.pcap") bytes captured"
