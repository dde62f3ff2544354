# Shared by the end-to-end runs of the game (sourced): the scratch copy of
# the program's folder and the checks of a finished run.

# The program and the media it ships with (the links of its media folder,
# resolved) into a new scratch folder, printed. Files the game wrote beside
# a build (best times, settings) stay behind: every run is a first start.
make_scratch_copy() {
  local program="$1"
  local scratch
  scratch="$(mktemp -d "${TMPDIR:-/tmp}/tessly_mordane.XXXXXX")"
  cp "$program" "$scratch/"
  mkdir "$scratch/media"
  find "$(dirname "$program")/media/" -maxdepth 1 -type l -exec cp -L {} "$scratch/media/" \;
  echo "$scratch"
}

# Waits up to 60 seconds for the line in the run's log; false when it never
# came or the program ended first.
wait_for_log() {
  local scratch="$1" line="$2" pid="$3"
  for _ in $(seq 600); do
    grep -qxF "$line" "$scratch/log.txt" 2>/dev/null && return 0
    kill -0 "$pid" 2>/dev/null || return 1
    sleep 0.1
  done
  return 1
}

# The checks of a finished run in `scratch` (log.txt, stderr.txt) that ended
# with `status`, having gone through the states `states` (default: the menu,
# then a level). Prints each failure and the log's end; false when any.
check_game_run() {
  local scratch="$1" status="$2"
  local expected_states="${3:-GameStateMenu init,GameStateRun init,GameStateInit destructor,}"
  local log="$scratch/log.txt"
  local failures=()

  [ "$status" -eq 0 ] || failures+=("exit code $status")
  # Sanitizer and leak reports, a failure that left WinMain and a refused
  # input script all land on the standard error.
  [ ! -s "$scratch/stderr.txt" ] || failures+=("standard error: $(head -c 2000 "$scratch/stderr.txt")")

  # The states, in the order the player went through them.
  local states
  states="$(grep -xE 'GameState(Menu|Run) init|GameStateInit destructor' "$log" | tr '\n' ',' || true)"
  [ "$states" = "$expected_states" ] ||
    failures+=("states: '$states'")

  # A first start: the settings and best-time files can not be opened yet.
  # Nothing else may fail; the pools' leak report is made of ERROR lines too.
  local expected_errors=(
    'GeneralFile::fopen : .*/media/\.\./config\.txt failed\. Flags: r$'
    'GeneralFile::fopen : .*/media/hiscore\.bin failed\. Flags: rb$'
  )
  local pattern
  for pattern in "${expected_errors[@]}"; do
    grep -q -- "$pattern" "$log" || failures+=("no first-start line matching '$pattern'")
  done
  local other_errors
  other_errors="$(grep 'ERROR' "$log" | grep -v -e "${expected_errors[0]}" -e "${expected_errors[1]}" || true)"
  [ -z "$other_errors" ] || failures+=("ERROR lines: $other_errors")
  ! grep -qi 'leak' "$log" || failures+=("leak report: $(grep -i 'leak' "$log" | head -5)")

  # Each pool refuses with "memory full", which ends the run, except where
  # the game swallows the failure: writing the settings and the best times.
  # So the exit code above and these two files show the run stayed within
  # its pools.
  local best_times="$scratch/media/hiscore.bin"
  if [ ! -f "$best_times" ] || [ "$(stat -c %s "$best_times")" -ne 52 ]; then
    failures+=("hiscore.bin is not 52 bytes")
  fi
  [ ! -e "$best_times.tmp" ] || failures+=("hiscore.bin.tmp left behind")
  if ! printf 'GENERATED ASCII CODE CONFIG FOR SAMSUNG OMNIA\nQUIT 114\nSHADOWS 1\nSOUNDS 1' |
    cmp -s - "$scratch/config.txt"; then
    failures+=("config.txt does not hold the default settings")
  fi

  if [ ${#failures[@]} -eq 0 ]; then
    return 0
  fi
  printf 'FAILED: %s\n' "${failures[@]}" >&2
  echo "--- end of the log ($log):" >&2
  tail -n 30 "$log" >&2
  return 1
}
