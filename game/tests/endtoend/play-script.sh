#!/usr/bin/env bash
# The game as scripts/play.sh starts it without a display (on a private Xvfb,
# through scripts/start-game.sh), stopped by a signal in the menu as a user
# stops it: INT at the script's whole process group (Ctrl-C at the
# terminal) or TERM at the script alone. The game must close its orderly
# way and save its files, the script must end with the game's 0, and the
# server must be gone by then.
# Usage: play-script.sh <tessly_mordane> <INT|TERM|HUP> <group|script>
set -euo pipefail

here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
root="$(cd "$here/../../.." && pwd)"
source "$here/play-checks.sh"
program="$1"
signal="$2"
target="$3"

scratch="$(make_scratch_copy "$program")"
# A tap skips the intro.
printf '100 press 120 200\n50 release 120 200\n' >"$scratch/input"

# Job control gives the script a process group of its own to signal, and
# keeps SIGINT from starting ignored, as a background job's would. No
# timeout wrapper: it would pass the group's signal on a second time.
set -m
env -u DISPLAY -u WAYLAND_DISPLAY SDL_AUDIODRIVER=dummy VORNIC3D_INPUT_SCRIPT="$scratch/input" \
  "$root/scripts/start-game.sh" "$scratch/tessly_mordane" >"$scratch/log.txt" 2>"$scratch/stderr.txt" &
pid=$!
set +m

failures=()
server=""
if wait_for_log "$scratch" "GameStateMenu init" "$pid"; then
  # The private server is the script's child.
  server="$(pgrep -P "$pid" -x Xvfb || true)"
  [ -n "$server" ] || failures+=("no private X server found")
  case "$target" in
    group) kill -s "$signal" -- "-$pid" ;;
    script) kill -s "$signal" "$pid" ;;
  esac
else
  failures+=("the menu was never reached")
fi

# The game saves and ends within seconds; past a minute it is stuck.
for _ in $(seq 600); do
  kill -0 "$pid" 2>/dev/null || break
  sleep 0.1
done
if kill -0 "$pid" 2>/dev/null; then
  failures+=("the script did not end within a minute")
  kill -s KILL -- "-$pid" 2>/dev/null || true
fi
status=0
wait "$pid" || status=$?
if [ -n "$server" ] && kill -0 "$server" 2>/dev/null; then
  failures+=("the X server $server is still running")
  kill "$server" 2>/dev/null || true
fi

if [ ${#failures[@]} -eq 0 ] &&
  check_game_run "$scratch" "$status" "GameStateMenu init,GameStateInit destructor,"; then
  rm -rf "$scratch"
else
  [ ${#failures[@]} -eq 0 ] || printf 'FAILED: %s\n' "${failures[@]}" >&2
  echo "the run's folder is kept: $scratch" >&2
  exit 1
fi
