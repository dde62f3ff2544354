#!/usr/bin/env bash
# The game end to end without a display: the real program, in a scratch copy
# of its folder, driven by an input script through the stand-in (a tap skips
# the intro, the menu starts the first level, a few taps steer, F3 quits).
# Usage: play-headless.sh <tessly_mordane> <input script>
set -euo pipefail

here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
source "$here/play-checks.sh"
program="$1"
input="$(realpath "$2")"

scratch="$(make_scratch_copy "$program")"
status=0
# No X server even on a desktop; SDL's silent audio keeps a machine without
# a sound card from writing to the standard error.
env -u DISPLAY -u WAYLAND_DISPLAY SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy VORNIC3D_INPUT_SCRIPT="$input" \
  timeout 120 "$scratch/tessly_mordane" >"$scratch/log.txt" 2>"$scratch/stderr.txt" || status=$?

if check_game_run "$scratch" "$status"; then
  rm -rf "$scratch"
else
  echo "the run's folder is kept: $scratch" >&2
  exit 1
fi
