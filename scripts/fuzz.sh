#!/usr/bin/env bash
# Fuzzes one harness for a timed run: scripts/fuzz.sh <harness> [seconds]
# (default 60), for example scripts/fuzz.sh loader; without a harness, with
# a name that is none or with seconds that are not a positive whole number,
# it prints its usage and the harnesses' names and exits 2, before building.
# The harness starts from its seed corpus fuzz/corpus/<harness>/ (and the
# byte strings of fuzz/<harness>.dict, when there is one) and keeps what it
# finds in build/fuzz/found/<harness>/, so the seeds change only by hand; an
# input that crashes is written to build/fuzz/crashes/. With
# VORNIC3D_FUZZ_GAME_POOLS=1 in the environment the engine runs on the game's
# own memory pools instead of the heap (fuzz/support/FuzzEngine.h).
set -euo pipefail

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${VORNIC3D_FUZZ_BUILD_DIR:-$root/build/fuzz}"
harness="${1:-}"
seconds="${2:-60}"

# The harnesses are the fuzz/<name>_fuzzer.cpp files.
names=()
for source in "$root"/fuzz/*_fuzzer.cpp; do
  names+=("$(basename "$source" _fuzzer.cpp)")
done
usage_error=""
if [ -n "$harness" ] && [ ! -f "$root/fuzz/${harness}_fuzzer.cpp" ]; then
  usage_error="no harness named '$harness'"
elif ! [[ "$seconds" =~ ^[1-9][0-9]{0,8}$ ]]; then
  # libFuzzer would take 0 or a negative count as "no limit" and read only
  # the leading digits of "1m".
  usage_error="the seconds are a positive whole number, not '$seconds'"
fi
if [ -z "$harness" ] || [ -n "$usage_error" ]; then
  [ -z "$usage_error" ] || echo "scripts/fuzz.sh: $usage_error" >&2
  echo "usage: scripts/fuzz.sh <harness> [seconds]   (default 60 seconds)" >&2
  echo "harnesses: ${names[*]}" >&2
  exit 2
fi

"$root/scripts/install-deps.sh"
"$root/scripts/build-fuzz.sh" "${harness}_fuzzer"

mkdir -p "$build/found/$harness" "$build/crashes"
options=(-max_total_time="$seconds" -close_fd_mask=1 -artifact_prefix="$build/crashes/$harness-")
if [ -f "$root/fuzz/$harness.dict" ]; then
  options+=(-dict="$root/fuzz/$harness.dict")
fi
export ASAN_OPTIONS="detect_leaks=1:abort_on_error=0"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
# The log's lines on the standard output would only slow the run down.
exec "$build/fuzz/${harness}_fuzzer" "${options[@]}" "$build/found/$harness" "$root/fuzz/corpus/$harness"
