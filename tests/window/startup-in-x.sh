#!/usr/bin/env bash
# Inside a virtual display: start the program, check its window, end it with
# its keyboard accelerators (Alt+C, then E) and check the exit code.
set -euo pipefail
program=$1 out=$2
source "$(dirname "$0")/desktop.sh"

start_desktop
start_copy "$program" "$out/startup-vanu.log"
pid=$copy_pid window=$copy_window
shot "$out/startup-1-shown.png"

keys "$window" alt+c e
code=0
wait_exit "$pid" 15 || code=$?
shot "$out/startup-2-ended.png"
if [ "$code" -ne 0 ]; then
  echo "vanu ended with $code" >&2
  cat "$out/startup-vanu.log" >&2
  exit 1
fi
echo "vanu showed \"Vanu 3.1\" and ended with exit code 0"
