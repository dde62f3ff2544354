#!/usr/bin/env bash
# scripts/fuzz.sh refuses what it can not run before it builds anything: no
# harness, a harness that is none, and seconds that are not a positive whole
# number each print the usage and the harnesses' names and exit 2.
set -euo pipefail

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
build="$(mktemp -d)"
trap 'rm -rf "$build"' EXIT

failures=()
# arguments | what the first line of the standard error names
cases=(
  "|usage:"
  "nonesuch|no harness named 'nonesuch'"
  "loader 0|not '0'"
  "loader abc|not 'abc'"
  "loader -3|not '-3'"
  "loader 1m|not '1m'"
  "loader 1.5|not '1.5'"
  "loader 9999999999|not '9999999999'"
)
for row in "${cases[@]}"; do
  arguments="${row%%|*}"
  expected="${row#*|}"
  status=0
  # shellcheck disable=SC2086 # the arguments are words
  VORNIC3D_FUZZ_BUILD_DIR="$build" "$root/scripts/fuzz.sh" $arguments >/dev/null 2>"$build.err" || status=$?
  [ "$status" -eq 2 ] || failures+=("'$arguments': exit $status, not 2")
  head -n 1 "$build.err" | grep -qF -- "$expected" || failures+=("'$arguments': no '$expected' in $(head -c 300 "$build.err")")
  grep -q '^harnesses: .*loader' "$build.err" || failures+=("'$arguments': the harnesses are not listed")
  [ -z "$(ls -A "$build")" ] || failures+=("'$arguments': something was built")
done
rm -f "$build.err"

if [ ${#failures[@]} -gt 0 ]; then
  printf 'FAILED: %s\n' "${failures[@]}" >&2
  exit 1
fi
