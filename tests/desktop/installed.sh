#!/usr/bin/env bash
# The program as installed: usage installed.sh BUILD_FOLDER OUTPUT_FOLDER.
# Installs into a temporary prefix, with a home and XDG folders of its own,
# and checks the desktop files, the command line, and the installed binary in
# a real window: given a setup file, it shows the setup dialog with the file
# loaded, and OK writes the settings under the XDG config folder, nothing
# under the prefix.
set -euo pipefail
build=$1 out=$2
here=$(cd "$(dirname "$0")" && pwd)
mkdir -p "$out"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
prefix=$work/prefix
cmake --install "$build" --prefix "$prefix" >/dev/null
entry=$(ls "$prefix"/share/applications/*.desktop)
app=$(basename "$entry" .desktop)

desktop-file-validate "$entry"
appstreamcli validate --no-net --pedantic "$prefix/share/metainfo/$app.metainfo.xml"
grep -qx "Exec=vanu %f" "$entry"

export HOME=$work/home XDG_CONFIG_HOME=$work/home/.config XDG_DATA_HOME=$work/home/.local/share
export XDG_CACHE_HOME=$work/home/.cache
mkdir -p "$HOME"
update-mime-database "$prefix/share/mime"
update-desktop-database "$prefix/share/applications"
default=$(XDG_DATA_DIRS=$prefix/share xdg-mime query default application/x-vanu-setup)
[ "$default" = "$app.desktop" ] || { echo "setup files open with '$default', not $app.desktop" >&2; exit 1; }

# The command line, with no display needed.
vanu=$prefix/bin/vanu
"$vanu" --version | grep -qx "vanu [0-9.]*"
"$vanu" --help | grep -q "^Usage: .*vanu \[options\] \[file\]"
code=0
"$vanu" --no-such-option >"$work/stdout" 2>"$work/stderr" || code=$?
[ "$code" -eq 2 ] && [ ! -s "$work/stdout" ] && grep -q "Unknown option 'no-such-option'" "$work/stderr" \
  && grep -q "^Usage:" "$work/stderr" || { echo "an unknown option gave $code" >&2; exit 1; }

printf '1\r\nNavy\r\nMailed\r\n10.0.0.7\r\n10.0.0.' >"$work/mailed.set"
touch "$work/installed"
sleep 1 # file times have a granularity; what the program writes is newer
# Started as the launcher starts it: its Exec line, with the file for %f.
exec_line=$(sed -n 's/^Exec=//p' "$entry")
wm_class=$(sed -n 's/^StartupWMClass=//p' "$entry")
export QT_QPA_PLATFORM=xcb XDG_DATA_DIRS=$prefix/share:/usr/local/share:/usr/share PATH=$prefix/bin:$PATH
xvfb-run -a -s "-screen 0 1024x768x24" "$here/installed-in-x.sh" "${exec_line/\%f/$work/mailed.set}" "$wm_class" "$out"

settings=$XDG_CONFIG_HOME/Vanu/LastSetup.set
cmp "$work/mailed.set" "$settings" || { echo "the settings were not saved under $XDG_CONFIG_HOME" >&2; exit 1; }
written=$(find "$prefix" -newer "$work/installed")
[ -z "$written" ] || { echo "written under the prefix: $written" >&2; exit 1; }
echo "installed: desktop files valid, setup files open with $app.desktop, settings in $settings"
