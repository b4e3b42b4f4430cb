#!/usr/bin/env bash
# Inside the namespace: the network, the bus and the daemon, then the copies.
set -euo pipefail
binary=$1 out=$2
work=$(mktemp -d)
pids=()
trap 'kill "${pids[@]}" 2>/dev/null || true; rm -rf "$work"' EXIT

mount --make-rprivate /
mkdir -p /run/avahi-daemon
mount -t tmpfs tmpfs /run/avahi-daemon
ip link set lo up
ip link add vanu0 type veth peer name vanu1
ip link set vanu1 up
ip addr add 10.77.0.1/24 dev vanu0
ip link set vanu0 up

configs=$(dirname "$0")/../discovery
sed "s|@SOCKET@|$work/system_bus_socket|" "$configs/bus.conf" >"$work/bus.conf"
dbus-daemon --nofork --config-file="$work/bus.conf" 2>"$out/discovery-bus.log" &
pids+=($!)
export DBUS_SYSTEM_BUS_ADDRESS="unix:path=$work/system_bus_socket"
for _ in $(seq 100); do [ -S "$work/system_bus_socket" ] && break; sleep 0.1; done

/usr/sbin/avahi-daemon -f "$configs/avahi.conf" --no-chroot --no-drop-root --no-rlimits >"$out/discovery-avahi.log" 2>&1 &
pids+=($!)

source "$(dirname "$0")/copies.sh"
make_copies "$binary" "$work"
export XDG_CONFIG_HOME="$work/config"
export QT_QPA_PLATFORM=xcb
xvfb-run -a -s "-screen 0 1024x768x24" "$(dirname "$0")/discovery-in-x.sh" "$work/host" "$work/guest" "$out"
