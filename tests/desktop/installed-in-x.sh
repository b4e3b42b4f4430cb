#!/usr/bin/env bash
# Inside a virtual display: the installed program, started by its desktop
# entry's command with a setup file, shows the setup dialog and what the file
# changes; Enter closes that, and Enter is OK, then
# Alt+C, E ends the program. Its main window's class is the entry's StartupWMClass.
#   usage: installed-in-x.sh COMMAND WM_CLASS OUTPUT_FOLDER
set -euo pipefail
command=$1 wm_class=$2 out=$3
source "$(dirname "$0")/../window/desktop.sh"

start_desktop
# shellcheck disable=SC2086 # the command is split into its words, as a launcher does
$command >"$out/installed-vanu.log" 2>&1 &
pid=$!
wait_for 15 window_of "Setup Configuration"
setup=$(window_of "Setup Configuration")
# The file says first what it changes, in a box over the dialog; Enter closes
# it, and the dialog has the keys again.
wait_for 10 bash -c "[ \"\$(xdotool getactivewindow)\" != $setup ]"
sleep 0.5 # it takes keys once it has settled
shot "$out/installed-changes.png"
xdotool key Return
wait_for 10 bash -c "[ \"\$(xdotool getactivewindow)\" = $setup ]"
shot "$out/installed-setup.png"
xdotool key Return
wait_for 10 test -f "$XDG_CONFIG_HOME/Vanu/LastSetup.set"
xprop -id "$(window_of "Vanu 3.1")" WM_CLASS | grep -q "\"$wm_class\"\$"
keys "$(window_of "Vanu 3.1")" alt+c e
code=0
wait_exit "$pid" 15 || code=$?
shot "$out/installed-ended.png"
exit "$code"
