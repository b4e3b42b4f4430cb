#!/usr/bin/env bash
# Desktop notifications from the real program, shown by a real notification
# server: usage notifications.sh VANU_BINARY OUTPUT_FOLDER. dunst runs under
# Xvfb on a private session bus; what it showed is read with dunstctl.
set -euo pipefail
binary=$1 out=$2
mkdir -p "$out"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp "$binary" "$work/vanu"
printf '0\r\nBlue\r\nHosty\r\n127.0.0.1\r\n' >"$work/LastSetup.set"
export QT_QPA_PLATFORM=xcb HOME=$work XDG_CONFIG_HOME=$work/config
dbus-run-session -- xvfb-run -a -s "-screen 0 1024x768x24" \
  "$(cd "$(dirname "$0")" && pwd)/notifications-in-x.sh" "$work/vanu" "$out"
