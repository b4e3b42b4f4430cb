#!/usr/bin/env bash
# Inside a virtual display: on each of three fresh starts, "&Friends" (Alt+O,
# then F) docks the friends window at the main window's right edge, frame to
# frame: the same top, the same height, its left edge at the main window's right.
# Docked, it is above other windows, but not above the program's own About box;
# and it goes with the main window into the tray.
set -euo pipefail
program=$1 out=$2
source "$(dirname "$0")/desktop.sh"

# frame_of WINDOW: "left top width height" of the window with its decoration.
frame_of() {
  local X Y WIDTH HEIGHT SCREEN WINDOW left right top bottom
  eval "$(xdotool getwindowgeometry --shell "$1")"
  IFS=', ' read -r left right top bottom < <(xprop -id "$1" _NET_FRAME_EXTENTS | sed -n 's/.*= //p')
  echo "$((X - left)) $((Y - top)) $((WIDTH + left + right)) $((HEIGHT + top + bottom))"
}

# docked MAIN FRIENDS: the friends frame sits at the main frame's right edge.
docked() {
  local main friends
  read -r ml mt mw mh < <(frame_of "$1")
  read -r fl ft fw fh < <(frame_of "$2")
  [ "$ft" -eq "$mt" ] && [ "$fh" -eq "$mh" ] && [ "$fl" -eq $((ml + mw)) ]
}

# above WINDOW: the window manager keeps the window above others.
above() {
  xprop -id "$1" _NET_WM_STATE | grep -q _NET_WM_STATE_ABOVE
}

start_desktop
for start in 1 2 3; do
  start_copy "$program" "$out/friends-vanu-$start.log"
  keys "$copy_window" alt+o f
  wait_for 10 window_of Friends
  friends=$(window_of Friends)
  # Under a loaded machine (the sanitizer build beside other tests) the
  # window manager may take seconds to place the window.
  if ! wait_for 15 docked "$copy_window" "$friends"; then
    shot "$out/friends-$start.png"
    echo "start $start: main frame $(frame_of "$copy_window"), friends frame $(frame_of "$friends")" >&2
    exit 1
  fi
  shot "$out/friends-$start.png"
  if [ "$start" = 1 ]; then
    # A move of the main window takes the docked friends window along, on top.
    xdotool windowmove "$copy_window" 40 60
    wait_for 15 docked "$copy_window" "$friends"
    wait_for 5 above "$friends"
    keys "$copy_window" alt+h a
    wait_for 10 window_of About
    wait_for 5 bash -c "! xprop -id $friends _NET_WM_STATE | grep -q _NET_WM_STATE_ABOVE"
    shot "$out/friends-below-about.png"
    xdotool key Return
    wait_for 5 bash -c "! xdotool search --onlyvisible --name '^About\$'"
    wait_for 5 above "$friends"
  fi
  if [ "$start" = 3 ]; then
    keys "$copy_window" alt+F4 # into the tray
    wait_for 5 bash -c "! xdotool search --onlyvisible --name '^Friends\$'"
    kill "$copy_pid"
    wait_exit "$copy_pid" 15 || true
    continue
  fi
  keys "$copy_window" alt+c e
  wait_exit "$copy_pid" 15
done
echo "the friends window docked frame to frame on three fresh starts, gave way to the About box and went into the tray"
