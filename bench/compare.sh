#!/usr/bin/env bash
# The relay of two builds side by side, in one run, the order turning each
# round: plain and secure floods, the steady load's CPU per line, and a join
# burst of secure guests. Each row prints the median of the rounds.
#   bench/compare.sh BEFORE_BENCH_DIR AFTER_BENCH_DIR [SECONDS] [ROUNDS]
# where each folder is a build's build/bench/bench (scripts/build bench).
set -euo pipefail
before=$1 after=$2 seconds=${3:-8} rounds=${4:-3}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
port=46000 # the setup dialog takes ports up to 50000

wait_port() {
  for _ in $(seq 100); do
    (exec 3<>"/dev/tcp/127.0.0.1/$1") 2>/dev/null && return 0
    sleep 0.05
  done
  return 1
}

# run NAME BIN GUESTS LOAD PROTOCOL: one fresh host, one load.
run() {
  local name=$1 bin=$2 guests=$3 load=$4 protocol=$5 options environment=()
  port=$((port + 1))
  case $load in
    steady) options="--mode steady --seconds $seconds --rate 100" ;;
    flood8) options="--mode max --window 8 --seconds $seconds --rate 100"; environment=(VANU_GUEST_LINES_PER_SECOND=0) ;;
    join) options="--mode join" ;;
  esac
  [ "$protocol" = vanu-tls ] && environment+=(VANU_BENCH_SECURE="$work/secure-$name")
  env "${environment[@]}" XDG_CONFIG_HOME="$work/config" "$bin/relay_host" "$port" >/dev/null 2>&1 &
  local pid=$!
  wait_port "$port" && { [ "$protocol" = vanu ] || wait_port $((port + 100)); } || { kill "$pid"; return; }
  # shellcheck disable=SC2086 # the load's options, word by word
  echo "build=$name $("$bin/relay_load" --protocol "$protocol" --port "$port" --guests "$guests" $options --server-pid "$pid")" \
    >>"$work/results"
  kill "$pid"
  wait "$pid" 2>/dev/null || true
}

runs=("50 flood8 vanu" "90 flood8 vanu" "50 steady vanu" "50 flood8 vanu-tls" "90 steady vanu-tls" "90 join vanu-tls")
for round in $(seq "$rounds"); do
  order="before after"
  [ $((round % 2)) -eq 0 ] && order="after before"
  for spec in "${runs[@]}"; do
    read -r guests load protocol <<<"$spec"
    for name in $order; do
      bin=$before
      [ "$name" = after ] && bin=$after
      run "$name" "$bin" "$guests" "$load" "$protocol"
    done
  done
done

median() { sort -g | awk '{ v[NR] = $1 } END { if (NR) print v[int((NR + 1) / 2)]; else print "-" }'; }
value() { grep "build=$1 .*protocol=$2 guests=$3 mode=$4 " "$work/results" | sed -n "s/.* $5=\([^ ]*\).*/\1/p" | median; }
echo "| guests | load | protocol | lines/s before | after | p99 ms before | after | CPU ms per 1000 lines before | after |"
echo "|---|---|---|---|---|---|---|---|---|"
for spec in "${runs[@]}"; do
  read -r guests load protocol <<<"$spec"
  mode=$load
  case $load in flood8) mode=max ;; esac
  if [ "$load" = join ]; then
    echo "| $guests | join: last greeted ms | $protocol | $(value before "$protocol" "$guests" join last_greeted_ms) | $(value after "$protocol" "$guests" join last_greeted_ms) | | | | |"
  else
    echo "| $guests | $load | $protocol | $(value before "$protocol" "$guests" "$mode" rate) | $(value after "$protocol" "$guests" "$mode" rate) | $(value before "$protocol" "$guests" "$mode" p99) | $(value after "$protocol" "$guests" "$mode" p99) | $(value before "$protocol" "$guests" "$mode" cpu_ms_per_1000) | $(value after "$protocol" "$guests" "$mode" cpu_ms_per_1000) |"
  fi
done
