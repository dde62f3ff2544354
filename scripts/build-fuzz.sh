#!/usr/bin/env bash
# Configures and builds the libFuzzer harnesses with clang, AddressSanitizer
# and UndefinedBehaviorSanitizer in a build folder of their own (build/fuzz,
# or $VORNIC3D_FUZZ_BUILD_DIR). Arguments name targets to build; without any,
# every harness is built.
set -euo pipefail

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${VORNIC3D_FUZZ_BUILD_DIR:-$root/build/fuzz}"

cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
  -DVORNIC3D_FUZZ=ON -DVORNIC3D_TESTS=OFF -DVORNIC3D_BENCHMARKS=OFF >/dev/null
if [ $# -eq 0 ]; then
  set -- fuzzers
fi
cmake --build "$build" --parallel "$(nproc)" --target "$@"
