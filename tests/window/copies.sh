# make_copies BINARY FOLDER: a host's and a guest's copy of the program, each
# in a folder of its own (FOLDER/host, FOLDER/guest) with its own
# "LastSetup.set": Hosty in Blue, and Anna in Navy, both for 127.0.0.1.
make_copies() {
  local binary=$1 folder=$2 who
  for who in host guest; do
    mkdir "$folder/$who"
    cp "$binary" "$folder/$who/vanu"
  done
  printf '0\r\nBlue\r\nHosty\r\n127.0.0.1\r\n' >"$folder/host/LastSetup.set"
  printf '0\r\nNavy\r\nAnna\r\n127.0.0.1\r\n' >"$folder/guest/LastSetup.set"
}

# fresh_copies BINARY: the two copies in a temporary folder of their own
# ($work, gone when the script ends), with the user's settings of this run
# alone (the host's key and the guest's pinned keys start afresh), for X11.
fresh_copies() {
  work=$(mktemp -d)
  trap 'rm -rf "$work"' EXIT
  make_copies "$1" "$work"
  export XDG_CONFIG_HOME="$work/config"
  export QT_QPA_PLATFORM=xcb
}
