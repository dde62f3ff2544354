#!/usr/bin/env bash
# Installs what is missing, builds the tests with AddressSanitizer and
# UndefinedBehaviorSanitizer and runs every test with CTest; builds the fuzz
# harnesses (build/fuzz) and replays their corpora with CTest too.
# VORNIC3D_CXX=clang builds and tests with clang instead of gcc, into
# build/clang: a build folder keeps the compiler it was first configured with.
set -euo pipefail

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
case "${VORNIC3D_CXX:-gcc}" in
  gcc)
    compiler=()
    build="${VORNIC3D_BUILD_DIR:-$root/build/test}"
    ;;
  clang)
    compiler=(-DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++)
    build="${VORNIC3D_BUILD_DIR:-$root/build/clang}"
    ;;
  *)
    echo "test.sh: VORNIC3D_CXX is gcc or clang, not '$VORNIC3D_CXX'" >&2
    exit 2
    ;;
esac

"$root/scripts/install-deps.sh"

cmake -S "$root" -B "$build" "${compiler[@]}" -DCMAKE_BUILD_TYPE=Debug -DVORNIC3D_SANITIZE=ON \
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

# The window tests (label "xvfb") need an X server: a private Xvfb. Tests
# registered as headless (vornic3d_headless_tests, see wince/CMakeLists.txt)
# unset DISPLAY through their CTest properties.
source "$root/scripts/xvfb.sh"
export VORNIC3D_REQUIRE_X11=1
ctest --test-dir "$build" --output-on-failure --parallel "$(nproc)" --timeout 300
ctest --test-dir "${VORNIC3D_FUZZ_BUILD_DIR:-$root/build/fuzz}" --output-on-failure --timeout 300
