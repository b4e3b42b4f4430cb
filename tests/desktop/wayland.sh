#!/usr/bin/env bash
# The program on a Wayland desktop: usage wayland.sh VANU_BINARY OUTPUT_FOLDER.
# Under weston's headless backend, once with XWayland (the program must choose
# xcb: its window is an X window) and once without (it runs on Wayland itself,
# shows its window, and neither crashes nor floods its log with warnings).
set -euo pipefail
binary=$1 out=$2
source "$(dirname "$0")/../window/desktop.sh"
mkdir -p "$out"
work=$(mktemp -d)
weston_pid=
cleanup() {
  [ -n "$weston_pid" ] && kill "$weston_pid" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT
export XDG_RUNTIME_DIR=$work/runtime HOME=$work
mkdir -m 700 "$XDG_RUNTIME_DIR"
unset QT_QPA_PLATFORM DISPLAY

# start_weston NAME [--xwayland]: a headless compositor on socket NAME.
start_weston() {
  local name=$1
  shift
  weston --backend=headless-backend.so --socket="$name" --idle-time=0 "$@" >"$out/weston-$name.log" 2>&1 &
  weston_pid=$!
  wait_for 10 test -S "$XDG_RUNTIME_DIR/$name"
}

stop() {
  kill "$1" 2>/dev/null || true
  wait "$1" 2>/dev/null || true
}

# With XWayland.
start_weston with-x --xwayland
wait_for 10 grep -q "xserver listening on display" "$out/weston-with-x.log"
display=$(sed -n 's/.*xserver listening on display \(:[0-9]*\).*/\1/p' "$out/weston-with-x.log" | head -n 1)
cp "$binary" "$work/vanu"
WAYLAND_DISPLAY=with-x DISPLAY=$display "$work/vanu" >"$out/wayland-with-x.log" 2>&1 &
pid=$!
DISPLAY=$display wait_for 15 window_of "Vanu 3.1" || { cat "$out/wayland-with-x.log" >&2; exit 1; }
stop "$pid"
stop "$weston_pid"

# Without XWayland.
start_weston bare
WAYLAND_DISPLAY=bare WAYLAND_DEBUG=client "$work/vanu" >"$out/wayland-bare.log" 2>&1 &
pid=$!
wait_for 15 grep -q 'set_title("Vanu 3.1")' "$out/wayland-bare.log" || { tail -n 20 "$out/wayland-bare.log" >&2; exit 1; }
sleep 1 # a second in which a crash or a burst of warnings would show
kill -0 "$pid" || { echo "the program ended on Wayland" >&2; exit 1; }
stop "$pid"
warnings=$(grep -v '^\[' "$out/wayland-bare.log" | grep -c . || true)
[ "$warnings" -le 5 ] || { grep -v '^\[' "$out/wayland-bare.log" >&2; exit 1; }
echo "Wayland: an X window under XWayland; on Wayland itself the window showed with $warnings lines of warnings"
