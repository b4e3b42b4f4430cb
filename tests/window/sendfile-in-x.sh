#!/usr/bin/env bash
# Inside a virtual display: a host, Anna and Bob, each a user of their own.
# Anna hands her running copy a file with `vanu --send` and picks Bob; Bob
# accepts the offer from its card with the keyboard. Midway the host is
# killed and started again: the transfer goes on by itself, and the file
# arrives with the SHA-256 it left with.
#   usage: sendfile-in-x.sh WORK_FOLDER OUTPUT_FOLDER
set -euo pipefail
work=$1 out=$2
source "$(dirname "$0")/desktop.sh"
step=0
snap() { step=$((step + 1)); shot "$out/sendfile-$step-$1.png"; }
as_user() { # as_user WHO COMMAND...: with that user's own settings and data
  local who=$1
  shift
  XDG_CONFIG_HOME="$work/$who/config" XDG_DATA_HOME="$work/$who/data" "$@"
}
size_of_part() { stat -c %s "$work/bob/Downloads/film.bin.part" 2>/dev/null || echo 0; }

trap 'kill $(jobs -p) 2>/dev/null || true' EXIT
start_desktop

start_host() {
  as_user host start_copy "$work/host/vanu" "$out/sendfile-host-$1.log"
  hostwin=$copy_window hostpid=$copy_pid
  keys "$hostwin" alt+c h
  wait_for 15 xdotool search --name "^Hosty is Host on "
}
start_host 1

for who in anna bob; do
  name=${who^}
  as_user "$who" start_copy "$work/$who/vanu" "$out/sendfile-$who.log"
  eval "${who}win=\$copy_window"
  keys "$copy_window" alt+c g
  wait_for 15 window_of "Confirm"
  sleep 0.5
  xdotool key Return
  wait_for 15 bash -c "xdotool search --name '^$name is Guest to 127.0.0'"
done
sleep 2 # each hears who is here, with their keys

# 400 MiB that differ from block to block.
head -c $((400 * 1024 * 1024)) /dev/urandom >"$work/film.bin"
sent=$(sha256sum <"$work/film.bin" | cut -d' ' -f1)
as_user anna "$work/anna/vanu" --send "$work/film.bin"
wait_for 10 window_of "Send files"
sleep 0.5
xdotool type --delay 50 Bob
xdotool key Return

# Bob's conversation comes into sight with the offer; Alt+A accepts it.
wait_for 20 window_of "Anna"
sleep 1
snap offer
keys "$(window_of Anna)" alt+a
sleep 2
snap accepted
wait_for 20 bash -c "[ \$(stat -c %s '$work/bob/Downloads/film.bin.part' 2>/dev/null || echo 0) -gt $((40 * 1024 * 1024)) ]"

# The host goes down hard, midway, and comes back.
kill -9 "$hostpid"
before=$(size_of_part)
echo "the host was killed with $before bytes checked at Bob's"
start_host 2
keys "$bobwin" ctrl+j
wait_for 10 window_of "Transfers"
sleep 1
snap transfers

wait_for 120 test -f "$work/bob/Downloads/film.bin"
arrived=$(sha256sum <"$work/bob/Downloads/film.bin" | cut -d' ' -f1)
[ "$arrived" = "$sent" ] || { echo "film.bin arrived as $arrived, not $sent" >&2; exit 1; }
[ ! -e "$work/bob/Downloads/film.bin.part" ]
[ ! -x "$work/bob/Downloads/film.bin" ] # no execute bit came across
sleep 1
snap done
# Bob's history keeps the transfer with its hash.
wait_for 10 bash -c "XDG_DATA_HOME='$work/bob/data' '$work/bob/vanu' --history '$sent' | grep -qF 'film.bin'"
echo "film.bin arrived whole through a host that restarted midway: $sent"
