# What scripts/test, scripts/demo and scripts/screenshot share; sourced from
# the checkout's root.

# Whether this machine runs 32-bit Windows programs. Where its kernel refuses
# them the Windows builds run as x86_64 under wine64 instead.
velmora_runs_32bit() { /usr/lib/wine/wine --version >/dev/null 2>&1; }

# Starts a virtual X server on a display that the server picks itself, so
# that two runs on one machine never meet on one display, and exports its
# DISPLAY once it answers; velmora_xvfb_pid is the server's process. Fails
# when no server answers within ten seconds.
velmora_start_xvfb() {
  local number_file number=""
  number_file=$(mktemp)
  Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$number_file" >/dev/null 2>&1 &
  velmora_xvfb_pid=$!
  for _ in $(seq 100); do
    number=$(tr -dc 0-9 <"$number_file")
    [ -n "$number" ] && break
    kill -0 "$velmora_xvfb_pid" 2>/dev/null || break
    sleep 0.1
  done
  rm -f "$number_file"
  if [ -z "$number" ]; then
    echo "Xvfb did not start" >&2
    return 1
  fi
  export DISPLAY=":$number"
  if ! xdpyinfo >/dev/null 2>&1; then
    echo "Xvfb on $DISPLAY does not answer" >&2
    return 1
  fi
}

# velmora_game_folder GAME TREE
# A demo game folder: the game's data archive (a stand-in), what the
# installer looks for before it shows itself, and dt.bin made from the files
# and folders of TREE.
velmora_game_folder() {
  local game=$1 tree=$2
  rm -rf "$game"
  mkdir -p "$game"
  printf 'stand-in for the game data archive\n' >"$game/evimage.xp3"
  (cd "$tree" && /usr/bin/python3 -c '
import os, sys, zipfile
with zipfile.ZipFile(sys.argv[1], "w", zipfile.ZIP_DEFLATED) as z:
    for folder, dirs, files in sorted(os.walk(".")):
        dirs.sort()
        for name in dirs:
            z.writestr(os.path.join(folder, name)[2:] + "/", "")
        for name in sorted(files):
            z.write(os.path.join(folder, name)[2:])
' "$game/dt.bin")
}
