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

cat >"$work/bus.conf" <<CONF
<!DOCTYPE busconfig PUBLIC "-//freedesktop//DTD D-Bus Bus Configuration 1.0//EN"
 "http://www.freedesktop.org/standards/dbus/1.0/busconfig.dtd">
<busconfig>
  <type>system</type>
  <listen>unix:path=$work/system_bus_socket</listen>
  <auth>EXTERNAL</auth>
  <policy context="default">
    <allow user="*"/> <allow own="*"/>
    <allow send_type="method_call"/> <allow send_type="signal"/>
    <allow send_type="method_return"/> <allow send_type="error"/>
    <allow receive_type="method_call"/> <allow receive_type="signal"/>
    <allow receive_type="method_return"/> <allow receive_type="error"/>
    <allow send_requested_reply="true"/> <allow receive_requested_reply="true"/>
  </policy>
</busconfig>
CONF
dbus-daemon --nofork --config-file="$work/bus.conf" 2>"$out/discovery-bus.log" &
pids+=($!)
export DBUS_SYSTEM_BUS_ADDRESS="unix:path=$work/system_bus_socket"
for _ in $(seq 100); do [ -S "$work/system_bus_socket" ] && break; sleep 0.1; done

printf '[server]\nuse-ipv4=yes\nuse-ipv6=no\nallow-interfaces=vanu0\nenable-dbus=yes\n[publish]\npublish-hinfo=no\npublish-workstation=no\n' \
  >"$work/avahi.conf"
/usr/sbin/avahi-daemon -f "$work/avahi.conf" --no-chroot --no-drop-root --no-rlimits >"$out/discovery-avahi.log" 2>&1 &
pids+=($!)

for who in host guest; do
  mkdir "$work/$who"
  cp "$binary" "$work/$who/vanu"
done
printf '0\r\nBlue\r\nHosty\r\n127.0.0.1\r\n' >"$work/host/LastSetup.set"
printf '0\r\nNavy\r\nAnna\r\n127.0.0.1\r\n' >"$work/guest/LastSetup.set"
export QT_QPA_PLATFORM=xcb
xvfb-run -a -s "-screen 0 1024x768x24" "$(dirname "$0")/discovery-in-x.sh" "$work/host" "$work/guest" "$out"
