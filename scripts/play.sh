#!/usr/bin/env bash
# Installs what is missing, builds the game without sanitizers (Release, in
# build/release) and starts it with its media beside it
# (scripts/start-game.sh): in a window on the display when there is one,
# otherwise on a private Xvfb. Ctrl-C ends the game the orderly way, which
# saves its records, and then the server.
# Usage: scripts/play.sh (VORNIC3D_SCREEN=WxH sets the window's size)
set -euo pipefail

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
"$root/scripts/build-release.sh"
exec "$root/scripts/start-game.sh" "$root/build/release/game/tessly_mordane"
