#!/usr/bin/env bash
# The packages the scripts install: usage deps.sh SOURCE_FOLDER.
# Every one is a package Debian knows, and what running Vanu installs holds no
# daemon and no test tool: a desktop runs its own Avahi daemon, and a newcomer
# who only wants to chat gets no test bench.
set -euo pipefail
cd "$1"
run=$(scripts/deps --list)
all=$(scripts/deps --list test)
for package in $all; do
  apt-cache show "$package" >/dev/null 2>&1 || { echo "Debian has no package $package" >&2; exit 1; }
done
for tool in avahi-daemon dbus dunst xvfb weston openbox trayer lintian nftables imagemagick python3-pyatspi; do
  if grep -qx "$tool" <<<"$run"; then
    echo "scripts/run would install $tool, which only the tests need" >&2
    exit 1
  fi
  grep -qx "$tool" <<<"$all" || { echo "scripts/test does not install $tool" >&2; exit 1; }
done
echo "$(wc -l <<<"$run") packages to run, $(wc -l <<<"$all") to test; each known to apt"
