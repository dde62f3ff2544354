#!/usr/bin/env bash
# Installs what is missing and builds the game without sanitizers (Release,
# in build/release, the same build the benchmarks' figures come from):
# build/release/game/tessly_mordane with its media folder beside it.
set -euo pipefail

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
"$root/scripts/install-deps.sh"
cmake -S "$root" -B "$root/build/release" -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$root/build/release" --target tessly_mordane --parallel "$(nproc)"
