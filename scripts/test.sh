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
# -noreset: the X server would otherwise reset whenever its last client leaves (a window test
# that has just stopped the program), and a program started in that moment cannot connect.
exec xvfb-run -a -s "-screen 0 1280x1024x24 -noreset" ctest --output-on-failure -j"$(nproc)" "$@"
