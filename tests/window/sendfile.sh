#!/usr/bin/env bash
# Three real copies: a guest sends another a file through the host, which is
# killed and started again midway.
#   usage: sendfile.sh VANU_BINARY OUTPUT_FOLDER
set -euo pipefail
binary=$1 out=$2
mkdir -p "$out"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
for who in host anna bob; do
  mkdir -p "$work/$who/config"
  cp "$binary" "$work/$who/vanu"
done
# Each guest reaches the host at an address of its own, as on a LAN.
printf '0\r\nBlue\r\nHosty\r\n127.0.0.1\r\n' >"$work/host/LastSetup.set"
printf '0\r\nNavy\r\nAnna\r\n127.0.0.2\r\n' >"$work/anna/LastSetup.set"
printf '0\r\nRed\r\nBob\r\n127.0.0.3\r\n' >"$work/bob/LastSetup.set"
mkdir "$work/bob/Downloads"
printf 'XDG_DOWNLOAD_DIR="%s"\n' "$work/bob/Downloads" >"$work/bob/config/user-dirs.dirs"
export QT_QPA_PLATFORM=xcb
# A session bus of its own, through which `vanu --send` reaches the running copy.
xvfb-run -a -s "-screen 0 1024x768x24" dbus-run-session -- "$(dirname "$0")/sendfile-in-x.sh" "$work" "$out"
