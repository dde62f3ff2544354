#!/usr/bin/env bash
# Remakes the pictures of the game in docs/ (menu.png, play.png): builds the
# game without sanitizers (Release, in build/release) and plays it in a
# window on a private Xvfb with the window test's run, which takes them.
set -euo pipefail

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
"$root/scripts/build-release.sh"

source "$root/scripts/xvfb.sh"
unset VORNIC3D_SCREEN
"$root/game/tests/endtoend/play-window.sh" "$root/build/release/game/tessly_mordane" "$root/docs"
echo "screenshots.sh: $root/docs/menu.png and $root/docs/play.png"
