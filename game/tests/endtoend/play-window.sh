#!/usr/bin/env bash
# The game end to end in a real window on the X server of DISPLAY (Xvfb):
# the real program, in a scratch copy of its folder, played with xdotool as
# a user plays it (a click skips the intro, the menu starts the first level,
# a click steers, F3 quits), so the input takes the whole way through X,
# SDL and the stand-in. With a folder given, pictures of the window go
# there as menu.png and play.png.
# Usage: play-window.sh <tessly_mordane> [picture folder]
set -euo pipefail

here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
source "$here/play-checks.sh"
program="$1"
pictures="${2:-}"
# Without an X server the run is skipped (exit 77), as the other window
# tests skip, unless scripts/test.sh asks for X.
if [ -z "${DISPLAY:-}" ]; then
  echo "play-window.sh: needs an X server (DISPLAY)" >&2
  [ -n "${VORNIC3D_REQUIRE_X11:-}" ] && exit 1
  exit 77
fi

scratch="$(make_scratch_copy "$program")"
SDL_AUDIODRIVER=dummy timeout 120 "$scratch/tessly_mordane" >"$scratch/log.txt" 2>"$scratch/stderr.txt" &
pid=$!

# The window, once it is mapped; its owner is the child of timeout.
window=""
for _ in $(seq 600); do
  game_pid="$(pgrep -P "$pid" || true)"
  [ -n "$game_pid" ] && window="$(xdotool search --onlyvisible --pid "$game_pid" 2>/dev/null | head -n 1 || true)"
  [ -n "$window" ] && break
  kill -0 "$pid" 2>/dev/null || break
  sleep 0.1
done

# Client point (x, y) of the 240 x 400 window, held as a finger holds it:
# the game polls the stylus once a step, and two taps that fall between two
# polls would read as one, at the second tap's place.
tap() {
  xdotool mousemove --window "$window" "$1" "$2" mousedown 1
  sleep 0.3
  xdotool mouseup 1
  sleep 1
}

# The window's picture as a PNG.
picture() {
  [ -n "$pictures" ] || return 0
  mkdir -p "$pictures"
  xwd -silent -id "$window" | xwdtopnm -quiet | pnmtopng -quiet >"$pictures/$1.png"
}

played=false
if [ -n "$window" ]; then
  xdotool windowfocus --sync "$window"
  tap 120 200
  if wait_for_log "$scratch" "GameStateMenu init" "$pid"; then
    # The list glides in from where the intro left the camera and the dust
    # zoom shrinks away: the menu at rest.
    sleep 4
    picture menu
    # Down to START GAME, then the centre starts it.
    tap 120 380
    tap 110 190
    if wait_for_log "$scratch" "GameStateRun init" "$pid"; then
      # READY counts 3 seconds and GO shows for one; then a tap up and to
      # the right steers.
      sleep 4.5
      picture play
      tap 200 150
      sleep 1
      played=true
    fi
  fi
  # Held as a finger holds it: the game reads the key once a step (10 ms),
  # and a release taken before that step would hide the press.
  xdotool keydown F3 && sleep 0.2 && xdotool keyup F3 || true
fi
$played || kill "$pid" 2>/dev/null || true
status=0
wait "$pid" || status=$?

if $played && check_game_run "$scratch" "$status"; then
  rm -rf "$scratch"
else
  $played || echo "FAILED: the game did not reach play (window '$window')" >&2
  echo "the run's folder is kept: $scratch" >&2
  exit 1
fi
