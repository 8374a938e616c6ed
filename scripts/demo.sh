#!/usr/bin/env bash
# Installs what is missing, builds the program and starts it against the local stand-in
# portal (log in as "user" / "secret"). ORV_PORTAL_URL set in the environment points it at
# another portal instead. BUILD_DIR overrides the build folder (default: build/ in the checkout).
set -euo pipefail

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${BUILD_DIR:-$root/build}"

"$root/scripts/install-deps.sh"
cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build "$build" -j"$(nproc)" --target reelvane-downloader orv-standin

program="$build/src/reelvane-downloader"
if [ -z "${ORV_PORTAL_URL:-}" ]; then
  portfile="$(mktemp)"
  "$build/tools/standin/orv-standin" --port-file "$portfile" --exit-after 86400 &
  standin=$!
  trap 'kill "$standin" 2>/dev/null || true; rm -f "$portfile"' EXIT
  for _ in $(seq 50); do [ -s "$portfile" ] && break; sleep 0.1; done
  export ORV_PORTAL_URL="http://127.0.0.1:$(cat "$portfile")"
  export ORV_NOTIFY_URL="$ORV_PORTAL_URL"
  echo "Stand-in portal at $ORV_PORTAL_URL: log in as user / secret"
fi
# The program keeps debug.log and its database beside the executable.
echo "Starting $program (log: $(dirname "$program")/debug.log)"
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  xvfb-run -a "$program" "$@"
else
  "$program" "$@"
fi
