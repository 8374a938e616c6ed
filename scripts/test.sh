#!/usr/bin/env bash
# Installs what is missing, builds everything and runs every test through CTest.
# Window tests need a display, so CTest runs under a virtual X server.
# BUILD_DIR overrides the build folder (default: build/ in the checkout);
# extra arguments go to ctest (for example: scripts/test.sh -L storage).
set -euo pipefail

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${BUILD_DIR:-$root/build}"

"$root/scripts/install-deps.sh"
cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build "$build" -j"$(nproc)"
cd "$build"
exec xvfb-run -a ctest --output-on-failure "$@"
