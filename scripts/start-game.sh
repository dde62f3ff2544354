#!/usr/bin/env bash
# Starts the game whose program is given, with its media beside it: in a
# window on the display when there is one, otherwise on a private Xvfb,
# where nobody sees it unless a viewer is attached (the script says how).
# Ctrl-C, SIGTERM and SIGHUP (the terminal closed) are passed on to the
# game, which closes as when its window is closed and saves its records;
# the script waits for it, only then stops the server, and ends with the
# game's exit status.
# Usage: scripts/start-game.sh <tessly_mordane> (VORNIC3D_SCREEN=WxH sets
# the window's size); scripts/play.sh builds the game and calls it.
set -euo pipefail

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
game="$1"

if [ -z "${DISPLAY:-}" ]; then
  # The server's screen holds the window whatever its size.
  size="${VORNIC3D_SCREEN:-240x400}"
  width="${size%x*}"
  height="${size#*x}"
  [[ "$width" =~ ^[0-9]+$ && "$height" =~ ^[0-9]+$ ]] || { width=240; height=400; }
  source "$root/scripts/xvfb.sh" "$((width > 1024 ? width : 1024))x$((height > 768 ? height : 768))"
  echo "start-game.sh: no display; the game runs on the private X server $DISPLAY, which shows nothing."
  echo "  To watch and play it, attach a viewer, e.g. x11vnc -display $DISPLAY (Debian's package"
  echo "  x11vnc: sudo apt-get install x11vnc) and a VNC client; Ctrl-C ends the game and the server."
fi

# The game gets a process group of its own (job control on while it
# starts): a Ctrl-C at the terminal reaches this script's group, so the game
# gets it once, passed on below, and not twice, which it would take as
# "end at once, unsaved". Without job control a background job would also
# start with SIGINT ignored. The game writes its log to the standard output.
set -m
"$game" &
game_pid=$!
set +m
for signal in INT TERM HUP; do
  trap "kill -s $signal $game_pid 2>/dev/null || true" "$signal"
done

# A signal ends the wait early; the game goes on until it has closed.
while :; do
  status=0
  wait "$game_pid" || status=$?
  kill -0 "$game_pid" 2>/dev/null || break
done
exit "$status"
