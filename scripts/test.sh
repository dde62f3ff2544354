#!/usr/bin/env bash
# Installs what is missing, builds the tests with AddressSanitizer and
# UndefinedBehaviorSanitizer and runs every test with CTest; builds the fuzz
# harnesses (build/fuzz) and replays their corpora with CTest too.
set -euo pipefail

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${VORNIC3D_BUILD_DIR:-$root/build/test}"

"$root/scripts/install-deps.sh"

cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=Debug -DVORNIC3D_SANITIZE=ON \
  -DVORNIC3D_TESTS=ON -DVORNIC3D_BENCHMARKS=ON
cmake --build "$build" --parallel "$(nproc)"
"$root/scripts/build-fuzz.sh"

export ASAN_OPTIONS="detect_leaks=1:abort_on_error=0:strict_string_checks=1"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
# Leaks inside system libraries (D-Bus, Mesa, X) are listed there, ours never.
export LSAN_OPTIONS="suppressions=$root/scripts/lsan.supp:print_suppressions=0"
# llvmpipe rasterizes on the drawing thread itself and Mesa keeps no shader
# cache (whose writer thread can still be busy at exit), so no driver thread
# is alive when LeakSanitizer stops the process at exit to scan it; the tests
# also leave nothing behind in the user's cache folder.
export LP_NUM_THREADS=0
export MESA_SHADER_CACHE_DISABLE=true

# The window tests (label "xvfb") need an X server: a private Xvfb, which
# picks a free display number itself and reports it once it accepts
# connections (-displayfd). It is stopped by its process id when the script
# ends. Tests registered as headless (vornic3d_headless_tests, see
# wince/CMakeLists.txt) unset DISPLAY through their CTest properties.
unset WAYLAND_DISPLAY
xvfb_display="$(mktemp)"
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$xvfb_display" >/dev/null 2>&1 &
xvfb_pid=$!
trap 'kill "$xvfb_pid" 2>/dev/null || true; wait "$xvfb_pid" 2>/dev/null || true; rm -f "$xvfb_display"' EXIT
for _ in $(seq 100); do
  [ -s "$xvfb_display" ] && break
  kill -0 "$xvfb_pid" 2>/dev/null || break
  sleep 0.1
done
if [ ! -s "$xvfb_display" ]; then
  echo "test.sh: Xvfb did not start within 10 seconds" >&2
  exit 1
fi
export DISPLAY=":$(tr -d '[:space:]' <"$xvfb_display")"
export VORNIC3D_REQUIRE_X11=1
ctest --test-dir "$build" --output-on-failure --parallel "$(nproc)" --timeout 300
ctest --test-dir "${VORNIC3D_FUZZ_BUILD_DIR:-$root/build/fuzz}" --output-on-failure --timeout 300
