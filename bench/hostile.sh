#!/usr/bin/env bash
# An honest guest's join and line latency beside a hostile neighbour, run by
# hand: the host at the usual descriptor limit of 1,024, offering secure chat;
# the neighbour opens 1,100 silent connections to the secure port, floods TLS
# KeyUpdates, or both (bench/hostile_neighbour.cpp).
#   bench/hostile.sh [LINES]
set -euo pipefail
cd "$(dirname "$0")/.."
lines=${1:-100}
scripts/deps test
scripts/build bench >/dev/null
bin=build/bench/bench
work=$(mktemp -d)
host_pid=
cleanup() { [ -n "$host_pid" ] && kill "$host_pid" 2>/dev/null; rm -rf "$work"; }
trap cleanup EXIT

port=26400
for attack in none half-open key-updates both; do
  (ulimit -n 1024 && VANU_BENCH_SECURE="$work/secure" XDG_CONFIG_HOME="$work/config" \
    exec "$bin/relay_host" "$port" >"$work/host-$attack.log" 2>&1) &
  host_pid=$!
  for _ in $(seq 100); do
    grep -q listening "$work/host-$attack.log" 2>/dev/null && break
    sleep 0.05
  done
  "$bin/hostile_neighbour" "$port" "$attack" "$lines" || true
  kill "$host_pid"
  wait "$host_pid" 2>/dev/null || true
  host_pid=
  port=$((port + 1))
done
