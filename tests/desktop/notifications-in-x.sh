#!/usr/bin/env bash
# Inside a virtual display on a private session bus: a host closed to the tray
# hears of a guest's two lines and another guest's departure in one
# notification, updated in place, with the guest's markup shown as text; the
# notification's action brings the window forward and closes it; while the
# window is active nothing is notified.
set -euo pipefail
program=$1 out=$2
source "$(dirname "$0")/../window/desktop.sh"

displayed() { dunstctl count displayed; }
history_count() { dunstctl count history; }

start_desktop
dunst >"$out/dunst.log" 2>&1 &
wait_for 10 bash -c "dbus-send --session --print-reply --dest=org.freedesktop.DBus / \
  org.freedesktop.DBus.NameHasOwner string:org.freedesktop.Notifications | grep -q true"

# Every notification the program sends, as the bus carries it: dunst takes
# them in the order they came, before any later dunstctl call.
dbus-monitor --session "type='method_call',interface='org.freedesktop.Notifications',member='Notify'" \
  >"$out/notify-calls.log" 2>&1 &

start_copy "$program" "$out/notifications-vanu.log"
pid=$copy_pid window=$copy_window
keys "$window" alt+c h
wait_for 15 xdotool search --name "^Hosty is Host on "
# The chat port: the lowest the host listens on (the secure port is 100 above).
port=$(ss -ltnpH | sed -n "s/.*:\([0-9]*\) .*pid=$pid,.*/\1/p" | sort -n | head -n 1)
keys "$window" alt+c l # to the tray
wait_for 10 bash -c "! xdotool search --onlyvisible --name \"^Hosty is Host on \""

# Two guests on plain sockets: each text once the host has answered the one
# before. Arriving, they bring the host's window forward.
exec 3<>"/dev/tcp/127.0.0.1/$port"
cat <&3 >"$out/anna-received" &
exec 4<>"/dev/tcp/127.0.0.1/$port"
cat <&4 >"$out/bob-received" &
bob_reader=$!
say() { # say FD TEXT WAIT_FOR
  printf '%s' "$2" >&"$1"
  wait_for 10 grep -qF -- "$3" "$out/anna-received"
}
say 3 ' Anna' '#Anna'
say 4 ' Bob' '#Anna,Bob'

# The host goes to the tray; Anna says two things and Bob leaves. (Arrivals
# bring the window forward, which withdraws what was told of them.)
seen=$(history_count)
keys "$window" alt+c l
wait_for 10 bash -c "! xdotool search --onlyvisible --name '^Hosty is Host on '"
say 3 '0<Anna> <b>bold</b> & co' '0<Anna> <b>bold</b> & co'
say 3 '0<Anna> second' '0<Anna> second'
exec 4>&-
kill "$bob_reader" # the last hold on Bob's connection
wait_for 10 grep -qF -- '-01Anna' "$out/anna-received"

# One notification, updated in place, for the two lines and the departure.
wait_for 10 grep -qF '"Vanu: 3 new messages"' "$out/notify-calls.log"
wait_for 10 bash -c '[ "$(dunstctl count displayed)" -eq 1 ]'
[ "$(history_count)" -eq "$seen" ]
shot "$out/notifications-shown.png"

# Its action brings the window forward and closes the notification.
dunstctl action 0
wait_for 10 bash -c '[ "$(dunstctl count displayed)" -eq 0 ]'
wait_for 10 bash -c "[ \"\$(xdotool getactivewindow)\" = $window ]"
dunstctl history >"$out/history.json"
grep -qF '"data" : "Vanu: 3 new messages"' "$out/history.json"
grep -qF '&lt;Anna&gt; &lt;b&gt;bold&lt;/b&gt; &amp; co\n&lt;Anna&gt; second\nGuest by 127.0.0.1 on port ' \
  "$out/history.json"

# While the window is active, a line is no news.
say 3 '0<Anna> while you look' '0<Anna> while you look'
sleep 0.5 # longer than news is gathered before it shows
[ "$(displayed)" -eq 0 ] && [ "$(history_count)" -eq $((seen + 1)) ]

exec 3>&-
keys "$window" alt+c e
wait_for 10 window_of Confirm
xdotool key Return
wait_exit "$pid" 15
echo "notifications: merged in place, escaped, raised the window, silent while it was active"
