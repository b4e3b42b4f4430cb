#!/usr/bin/env bash
# Inside a virtual display: how long the program takes from its start to its
# main window on the screen, and its memory once it rests. Five runs.
#   startup-in-x.sh VANU_BINARY
set -euo pipefail
program=$1
times=()
for run in 1 2 3 4 5; do
  start=$(date +%s%N)
  log="${program%/*}/start-$run.log"
  "$program" >/dev/null 2>"$log" &
  pid=$!
  # Bounded: a program that cannot reach the display never shows a window.
  deadline=$(( $(date +%s) + 15 ))
  until xdotool search --onlyvisible --name '^Vanu 3.1$' >/dev/null 2>&1; do
    if [ "$(date +%s)" -ge "$deadline" ]; then
      kill "$pid" 2>/dev/null || true
      echo "| start to main window shown | no window within 15 s (run $run) |"
      echo "what run $run said:" >&2
      tail -n 20 "$log" >&2
      exit 0
    fi
    sleep 0.01 # each look is a new connection to the display; more often, and the display refuses the program its own
  done
  times+=($(( ($(date +%s%N) - start) / 1000000 )))
  if [ "$run" -eq 5 ]; then
    sleep 1
    rss=$(awk '/VmRSS/ {print $2}' "/proc/$pid/status")
  fi
  kill "$pid"
  wait "$pid" 2>/dev/null || true
done
sorted=($(printf '%s\n' "${times[@]}" | sort -n))
echo "| start to main window shown, median of 5 | ${sorted[2]} ms (runs: ${times[*]} ms) |"
echo "| memory at rest (RSS, 1 s after start) | $((rss / 1024)) MB |"
