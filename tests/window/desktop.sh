# Helpers for the checks that run the real program on a virtual X display.
# Sourced by the scripts beside it, which run inside xvfb-run.

# Starts a window manager and a tray host; they end with the display.
start_desktop() {
  openbox >/dev/null 2>&1 &
  # The window manager is up once it has said so on the root window, and the
  # tray host once its window exists. Either may have given up on a loaded
  # machine (the tray host when it found no window manager yet): each is
  # started once more.
  local wm_up="xprop -root _NET_SUPPORTING_WM_CHECK | grep -q 'window id'"
  wait_for 20 bash -c "$wm_up" || { openbox >/dev/null 2>&1 & wait_for 20 bash -c "$wm_up"; }
  start_tray
  wait_for 10 xdotool search --name '^panel$' || { start_tray && wait_for 20 xdotool search --name '^panel$'; }
}

start_tray() {
  trayer --edge top --align right --widthtype pixel --width 120 --height 24 >/dev/null 2>&1 &
}

# wait_for SECONDS COMMAND...: runs the command every tenth of a second until
# it succeeds; fails when the time is up.
wait_for() {
  local seconds=$1
  shift
  local tries=$((seconds * 10))
  for ((try = 0; try < tries; ++try)); do
    if "$@" >/dev/null 2>&1; then
      return 0
    fi
    sleep 0.1
  done
  echo "timed out after ${seconds}s waiting for: $*" >&2
  return 1
}

# window_of TITLE: the id of the first window whose title is exactly TITLE;
# fails when there is none.
window_of() {
  xdotool search --name "^$1\$" 2>/dev/null | head -n 1 | grep .
}

# keys WINDOW KEY...: activates the window and types the keys, one at a time.
keys() {
  local window=$1
  shift
  xdotool windowactivate --sync "$window"
  local key
  for key in "$@"; do
    xdotool key --delay 50 "$key"
    sleep 0.2
  done
}

# shot FILE: a screenshot of the whole display.
shot() {
  import -window root "$1"
}

# wait_exit PID SECONDS: waits for the process to end and gives its exit code;
# 124 when it is still running after that long (it is then killed).
wait_exit() {
  local pid=$1 seconds=$2
  if ! wait_for "$seconds" bash -c "! kill -0 $pid"; then
    kill "$pid" 2>/dev/null || true
    return 124
  fi
  local code=0
  wait "$pid" || code=$?
  return "$code"
}

# start_copy PROGRAM LOG: starts a copy of the program and waits for its main
# window; sets copy_pid and copy_window.
start_copy() {
  "$1" >"$2" 2>&1 &
  copy_pid=$!
  wait_for 15 window_of "Vanu 3.1"
  copy_window=$(window_of "Vanu 3.1")
  sleep 0.5 # it takes keys once it has settled
}
