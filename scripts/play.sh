#!/usr/bin/env bash
# Installs what is missing, builds the game without sanitizers (Release, in
# build/release) and starts it with its media beside it: in a window on the
# display when there is one, otherwise on a private Xvfb, where nobody sees
# it unless a viewer is attached (the script says how).
# Usage: scripts/play.sh (VORNIC3D_SCREEN=WxH sets the window's size)
set -euo pipefail

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
"$root/scripts/build-release.sh"

game="$root/build/release/game/tessly_mordane"
if [ -z "${DISPLAY:-}" ]; then
  # The server's screen holds the window whatever its size.
  size="${VORNIC3D_SCREEN:-240x400}"
  width="${size%x*}"
  height="${size#*x}"
  [[ "$width" =~ ^[0-9]+$ && "$height" =~ ^[0-9]+$ ]] || { width=240; height=400; }
  source "$root/scripts/xvfb.sh" "$((width > 1024 ? width : 1024))x$((height > 768 ? height : 768))"
  echo "play.sh: no display; the game runs on the private X server $DISPLAY, which shows nothing."
  echo "  To watch and play it, attach a viewer, e.g. x11vnc -display $DISPLAY and a VNC client;"
  echo "  Ctrl-C ends the game and the server."
fi
# The game writes its log to the standard output.
"$game"
