#!/usr/bin/env bash
# The game end to end without a display: the real program, in a scratch copy
# of its folder, driven by an input script through the stand-in (a tap skips
# the intro, the menu starts the first level, a few taps steer, F3 quits).
# With a signal given (TERM, or HUP as from a closed terminal), the script's
# keys are left out and the signal is sent once the level runs, as a desktop
# asks a program to close: the game must end its usual way, saving its
# files. (INT would find itself
# ignored: a job the shell puts in the background ignores it.)
# Usage: play-headless.sh <tessly_mordane> <input script> [signal]
set -euo pipefail

here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
source "$here/play-checks.sh"
program="$1"
input="$(realpath "$2")"
signal="${3:-}"

scratch="$(make_scratch_copy "$program")"
if [ -n "$signal" ]; then
  grep -v -E '^[[:space:]]*[0-9]+[[:space:]]+key-' "$input" >"$scratch/input"
  input="$scratch/input"
fi
# No X server even on a desktop; SDL's silent audio driver, so a machine with
# a sound card plays nothing and one without gives the same run.
env -u DISPLAY -u WAYLAND_DISPLAY SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy VORNIC3D_INPUT_SCRIPT="$input" \
  timeout 120 "$scratch/tessly_mordane" >"$scratch/log.txt" 2>"$scratch/stderr.txt" &
pid=$!
if [ -n "$signal" ] && wait_for_log "$scratch" "GameStateRun init" "$pid"; then
  # The game is the child of timeout.
  kill -s "$signal" "$(pgrep -P "$pid")"
fi
status=0
wait "$pid" || status=$?

if check_game_run "$scratch" "$status"; then
  rm -rf "$scratch"
else
  echo "the run's folder is kept: $scratch" >&2
  exit 1
fi
