#!/usr/bin/env bash
# Two real copies of the program find each other on the network: usage
#   discovery.sh VANU_BINARY OUTPUT_FOLDER
# Runs in a network namespace of its own (so as root), with one veth pair, its
# own system bus and its own avahi-daemon; nothing announced leaves it.
set -euo pipefail
binary=$1 out=$2
if [ "$(id -u)" -ne 0 ]; then
  echo "a network namespace of its own needs root; skipped"
  exit 77 # CTest's SKIP_RETURN_CODE
fi
if [ ! -x /usr/sbin/avahi-daemon ] || ! command -v dbus-daemon >/dev/null; then
  echo "no avahi-daemon or dbus-daemon here (scripts/deps installs them); skipped"
  exit 77
fi
mkdir -p "$out"
exec unshare --net --mount "$(dirname "$0")/discovery-in-ns.sh" "$binary" "$out"
