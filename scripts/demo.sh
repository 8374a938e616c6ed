#!/usr/bin/env bash
# Installs what is missing, builds the program and starts it.
# BUILD_DIR overrides the build folder (default: build/ in the checkout).
set -euo pipefail

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${BUILD_DIR:-$root/build}"

"$root/scripts/install-deps.sh"
cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build "$build" -j"$(nproc)" --target reelvane-downloader

program="$build/src/reelvane-downloader"
# The program keeps debug.log and its database beside the executable.
echo "Starting $program (log: $(dirname "$program")/debug.log)"
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  exec xvfb-run -a "$program"
fi
exec "$program"
