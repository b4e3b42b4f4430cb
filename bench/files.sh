#!/usr/bin/env bash
# The file benchmark, run by scripts/bench files (never by CI): Vanu's
# transfers beside a bare relay (bench/bare_file_relay.cpp: blocking OpenSSL,
# TLS 1.3, 256 KiB buffers), in the same run.
#   bench/files.sh BIN_FOLDER [ROW...]   rows: shaped loopback many beside resume (all by default)
#   ROUNDS=N bench/files.sh ...         rounds of each throughput row (3 by default)
# Rows: a 2 GiB file from guest A through the host to guest B over links
# shaped to 1 Gbit/s (host and guests each in a network namespace, every
# veth end under tbf); the same on loopback, unshaped; a folder of 10,000
# files of 4 KiB (against one tar stream through the bare relay); a plain
# guest's chat p99 without and during a transfer; the host's RSS during a
# 4 GiB transfer; and the bytes relayed for a 1 GiB file broken three times.
set -euo pipefail
# shellcheck source=bench/middle.sh
source "$(dirname "$0")/middle.sh"
bin=$1
shift
rows=${*:-shaped loopback many beside resume}
want() { [[ " $rows " == *" $1 "* ]]; }
trap 'echo "failed at line $LINENO" >&2' ERR
work=$(mktemp -d /var/tmp/vanu-files.XXXXXX)
pids=()
cleanup() {
  kill "${pids[@]}" 2>/dev/null || true
  for ns in vf-h vf-a vf-b; do ip netns del "$ns" 2>/dev/null || true; done
  rm -rf "$work"
}
trap cleanup EXIT
gib=$((1024 * 1024 * 1024))

# inside NS COMMAND...: runs the command in the namespace, or here for "-".
# Started in the background, it becomes the command, whose pid $! then is.
inside() { local ns=$1; shift; if [ "$ns" = - ]; then exec "$@"; else exec ip netns exec "$ns" "$@"; fi; }

wait_line() { # wait_line FILE TEXT: until the file holds the text (60 s at most)
  for _ in $(seq 600); do grep -q "$2" "$1" 2>/dev/null && return 0; sleep 0.1; done
  echo "no '$2' in $1" >&2
  return 1
}

rate() { awk -v b="$1" -v s="$2" 'BEGIN { printf "%.1f", b / s / 1e6 }'; }
seconds_of() { sed -n 's/.*took [0-9]* in \([0-9.]*\) s.*/\1/p' "$1"; }

# vanu_run TAG HOST_NS A_NS B_NS A_ADDR B_ADDR PORT PATH...: A sends the paths
# to B through the host; sets took (seconds) and relayed (bytes).
vanu_run() {
  local tag=$1 hns=$2 ans=$3 bns=$4 aaddr=$5 baddr=$6 port=$7
  shift 7
  rm -rf "${work:?}/$tag" && mkdir -p "$work/$tag/in"
  inside "$hns" "$bin/file_bench" host --state "$work/$tag/host" --port "$port" >"$work/$tag/host.log" 2>&1 &
  local host=$!
  pids+=("$host")
  wait_line "$work/$tag/host.log" listening
  inside "$bns" "$bin/file_bench" take --state "$work/$tag/b" --host "$baddr" --port "$port" --name Bob \
    --folder "$work/$tag/in" >"$work/$tag/take.log" 2>&1 &
  local take=$!
  inside "$ans" "$bin/file_bench" send --state "$work/$tag/a" --host "$aaddr" --port "$port" --name Anna --to Bob "$@" \
    >"$work/$tag/send.log" 2>&1 &
  local send=$!
  pids+=("$take" "$send")
  wait "$take" || { echo "Vanu's receiver failed:" >&2; cat "$work/$tag/take.log" >&2; }
  wait "$send" || true
  sleep 1.2 # the host's last report
  kill "$host" 2>/dev/null || true
  wait "$host" 2>/dev/null || true
  took=$(seconds_of "$work/$tag/take.log")
  relayed=$(sed -n 's/host relayed=\([0-9]*\).*/\1/p' "$work/$tag/host.log" | tail -n 1)
}

# bare_run TAG RELAY_NS A_NS B_NS A_ADDR B_ADDR PORT SEND_FROM TAKE_INTO: sets took.
bare_run() {
  local tag=$1 rns=$2 ans=$3 bns=$4 aaddr=$5 baddr=$6 port=$7 from=$8 into=$9
  mkdir -p "$work/bare-$tag"
  inside "$rns" "$bin/bare_file_relay" relay "$port" >"$work/bare-$tag/relay.log" 2>&1 &
  local relay=$!
  pids+=("$relay")
  wait_line "$work/bare-$tag/relay.log" listening
  inside "$bns" bash -c "$into" 2>"$work/bare-$tag/take.log" &
  local take=$!
  sleep 0.3
  (inside "$ans" bash -c "$from")
  wait "$take" || { echo "the bare relay's receiver failed:" >&2; cat "$work/bare-$tag/take.log" >&2; }
  kill "$relay" 2>/dev/null || true
  took=$(seconds_of "$work/bare-$tag/take.log")
}

echo "making the files..." >&2
head -c $((2 * gib)) /dev/urandom >"$work/two.bin"
mkdir -p "$work/many"
for folder in $(seq 0 99); do
  mkdir "$work/many/d$folder"
  for file in $(seq 0 99); do head -c 4096 /dev/urandom >"$work/many/d$folder/f$file"; done
done

# The rig: the host and each guest in a namespace, every link shaped to 1 Gbit/s.
for ns in vf-h vf-a vf-b; do ip netns add "$ns"; ip -n "$ns" link set lo up; done
for side in a b; do
  net=$([ "$side" = a ] && echo 1 || echo 2)
  ip link add "v$side" netns "vf-$side" type veth peer name "vh$side" netns vf-h
  ip -n "vf-$side" addr add "10.77.$net.2/24" dev "v$side"
  ip -n vf-h addr add "10.77.$net.1/24" dev "vh$side"
  ip -n "vf-$side" link set "v$side" up
  ip -n vf-h link set "vh$side" up
  tc -n "vf-$side" qdisc add dev "v$side" root tbf rate 1gbit burst 512kb latency 20ms
  tc -n vf-h qdisc add dev "vh$side" root tbf rate 1gbit burst 512kb latency 20ms
done

echo "| row | Vanu | bare relay | ratio | goal | ratio in each round |"
echo "|---|---|---|---|---|---|"
# The machine's own load moves a single run's figures by a third, so each
# throughput row runs both sides ROUNDS times (3 by default), next to each
# other, the order turned each round; it gives the medians, and each round's ratio.
rounds=${ROUNDS:-3}
ratio() { awk -v v="$1" -v b="$2" 'BEGIN { printf "%.2f", v / b }'; }
# side_by_side NAME BYTES GOAL BARE_RUN VANU_RUN: each run function sets took.
side_by_side() {
  local name=$1 bytes=$2 goal=$3 vanu bare vanus=() bares=() ratios=()
  for round in $(seq "$rounds"); do
    if ((round % 2)); then
      "$4"; bare=$took; "$5"; vanu=$took
    else
      "$5"; vanu=$took; "$4"; bare=$took
    fi
    vanus+=("$(rate "$bytes" "$vanu")") bares+=("$(rate "$bytes" "$bare")")
    ratios+=("$(ratio "${vanus[-1]}" "${bares[-1]}")")
  done
  vanu=$(printf '%s\n' "${vanus[@]}" | middle) bare=$(printf '%s\n' "${bares[@]}" | middle)
  echo "| $name | $vanu MB/s | $bare MB/s | $(printf '%s\n' "${ratios[@]}" | middle) | $goal | ${ratios[*]} |"
}

shaped_bare() {
  bare_run shaped vf-h vf-a vf-b 10.77.1.1 10.77.2.1 4300 \
    "'$bin/bare_file_relay' send 10.77.1.1 4300 '$work/two.bin'" "'$bin/bare_file_relay' take 10.77.2.1 4300 '$work/bare.out'"
  rm -f "$work/bare.out"
}
shaped_vanu() { vanu_run shaped vf-h vf-a vf-b 10.77.1.1 10.77.2.1 4000 "$work/two.bin"; rm -rf "$work/shaped/in"; }
want shaped && side_by_side "2 GiB, A → host → B, links of 1 Gbit/s" $((2 * gib)) "≥ 0.9" shaped_bare shaped_vanu

loopback_bare() {
  bare_run loop - - - 127.0.0.1 127.0.0.1 4301 \
    "'$bin/bare_file_relay' send 127.0.0.1 4301 '$work/two.bin'" "'$bin/bare_file_relay' take 127.0.0.1 4301 '$work/bare.out'"
  rm -f "$work/bare.out"
}
loopback_vanu() { vanu_run loop - - - 127.0.0.1 127.0.0.1 4010 "$work/two.bin"; rm -rf "$work/loop/in"; }
want loopback && side_by_side "2 GiB, A → host → B, loopback" $((2 * gib)) "≥ 0.6" loopback_bare loopback_vanu

many_bare() {
  rm -rf "$work/bare-many/out"
  bare_run many vf-h vf-a vf-b 10.77.1.1 10.77.2.1 4302 \
    "tar -C '$work' -cf - many | '$bin/bare_file_relay' send 10.77.1.1 4302 -" \
    "mkdir -p '$work/bare-many/out' && '$bin/bare_file_relay' take 10.77.2.1 4302 - | tar -C '$work/bare-many/out' -xf -"
}
many_vanu() { vanu_run manyrun vf-h vf-a vf-b 10.77.1.1 10.77.2.1 4020 "$work/many"; }
if want many; then
  side_by_side "10,000 files of 4 KiB (bare: one tar stream), links of 1 Gbit/s" \
    "$(du -sb --apparent-size "$work/many" | cut -f1)" "≥ 0.5" many_bare many_vanu
fi

# The chat beside a transfer over the shaped links: a plain guest's p99 from
# ten guests at 100 lines a second in all, beside the host, without a
# transfer and during one of 4 GiB (two files of 2 GiB) from A to B, whose
# host's RSS is sampled every second. On a LAN the guests are machines of
# their own: here they share one core, and the host (with the chat's guests)
# has the other.
if want beside; then
mkdir -p "$work/beside/in"
inside vf-h taskset -c 0 "$bin/file_bench" host --state "$work/beside/host" --port 4030 >"$work/beside/host.log" 2>&1 &
beside_host=$!
pids+=("$beside_host")
wait_line "$work/beside/host.log" listening
sync # what earlier rows wrote is on the disk, not being written during the measures
load() { ip netns exec vf-h taskset -c 0 "$bin/relay_load" --protocol vanu --port 4030 --guests 10 --mode steady --rate 100 "$@"; }
load --seconds 3 >/dev/null # warms up
quiet=$(load --seconds 10)
rss_before=$(sed -n 's/.*rss_kb=\([0-9]*\).*/\1/p' "$work/beside/host.log" | tail -n 1)
inside vf-b taskset -c 1 "$bin/file_bench" take --state "$work/beside/b" --host 10.77.2.1 --port 4030 --name Bob \
  --folder "$work/beside/in" >"$work/beside/take.log" 2>&1 &
beside_take=$!
inside vf-a taskset -c 1 "$bin/file_bench" send --state "$work/beside/a" --host 10.77.1.1 --port 4030 --name Anna --to Bob \
  "$work/two.bin" "$work/two.bin" >"$work/beside/send.log" 2>&1 &
pids+=("$beside_take" "$!")
for _ in $(seq 300); do [ -n "$(find "$work/beside/in" -name '*.part' -size +100M)" ] && break; sleep 0.1; done
busy=$(load --seconds 10)
wait "$beside_take"
sleep 1.2
kill "$beside_host" 2>/dev/null || true
rss_most=$(sed -n 's/.*rss_kb=\([0-9]*\).*/\1/p' "$work/beside/host.log" | sort -n | tail -n 1)
p99() { sed -n 's/.* p99=\([0-9.]*\).*/\1/p' <<<"$1"; }
echo "| chat p99 beside a transfer (links of 1 Gbit/s) | $(p99 "$busy") ms during | $(p99 "$quiet") ms without | +$(awk -v a="$(p99 "$busy")" -v b="$(p99 "$quiet")" 'BEGIN { printf "%.2f", a - b }') ms | ≤ +2 ms | |"
echo "| host RSS during a 4 GiB transfer (links of 1 Gbit/s) | $((rss_most / 1024)) MiB at most | $((rss_before / 1024)) MiB before | +$(((rss_most - rss_before) / 1024)) MiB | < +64 MiB | |"
fi

# Resume: a 1 GiB file, the receiver killed at a quarter, a half and three
# quarters and started again; the bytes the host relayed in all.
if want resume; then
head -c "$gib" "$work/two.bin" >"$work/one.bin"
mkdir -p "$work/resume/in"
"$bin/file_bench" host --state "$work/resume/host" --port 4040 >"$work/resume/host.log" 2>&1 &
resume_host=$!
pids+=("$resume_host")
wait_line "$work/resume/host.log" listening
take_resume() {
  "$bin/file_bench" take --state "$work/resume/b" --host 127.0.0.1 --port 4040 --name Bob --folder "$work/resume/in" \
    >>"$work/resume/take.log" 2>&1 &
  resume_take=$!
  pids+=("$resume_take")
}
take_resume
"$bin/file_bench" send --state "$work/resume/a" --host 127.0.0.1 --port 4040 --name Anna --to Bob "$work/one.bin" \
  >"$work/resume/send.log" 2>&1 &
pids+=("$!")
for quarter in 1 2 3; do
  for _ in $(seq 600); do
    size=$(stat -c %s "$work/resume/in/one.bin.part" 2>/dev/null || echo 0)
    [ "$size" -ge $((gib * quarter / 4)) ] && break
    sleep 0.05
  done
  kill -9 "$resume_take"
  wait "$resume_take" 2>/dev/null || true
  take_resume
done
wait "$resume_take"
sleep 1.2
kill "$resume_host" 2>/dev/null || true
relayed=$(sed -n 's/host relayed=\([0-9]*\).*/\1/p' "$work/resume/host.log" | tail -n 1)
cmp -s "$work/one.bin" "$work/resume/in/one.bin" || echo "the resumed file differs" >&2
echo "| 1 GiB broken three times: bytes relayed | $(awk -v r="$relayed" -v g="$gib" 'BEGIN { printf "%.3f GiB", r / g }') | 1 GiB | $(awk -v r="$relayed" -v g="$gib" 'BEGIN { printf "%.3f", r / g }') | ≤ 1.05 | |"
fi
