#!/usr/bin/env bash
# Kills the engine with SIGKILL at random moments while it fetches, verifies, reports and reveals
# a DCP of many small files, starts it again each time over the same store and drive folder, lets
# the last start run to its end, then checks that every file is whole, verified and revealed and
# that every event of every reel is acknowledged exactly once in the store.
#
#   bench/kill9_smallfiles.sh [--kills 20] [--files 500] [--reels 10] [--max-ms 1500]
#
# The engine is bench_download_restart (the program's managers without the window); the
# server is the stand-in program (assets and notification service), which lives through every
# kill. Each kill falls after a random 50..max-ms milliseconds of the engine's run. Long: not a
# test of the suite. BUILD_DIR overrides the build folder (default build/). Exit code 0 when
# the check holds.
set -euo pipefail

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${BUILD_DIR:-$root/build}"
kills=20
files=500
reels=10
max_ms=1500
while [ $# -gt 0 ]; do
  case "$1" in
    --kills) kills="$2"; shift 2 ;;
    --files) files="$2"; shift 2 ;;
    --reels) reels="$2"; shift 2 ;;
    --max-ms) max_ms="$2"; shift 2 ;;
    -h|--help) sed -n '2,13p' "$0" | sed 's/^# \{0,1\}//'; exit 0 ;;
    *) echo "kill9_smallfiles.sh: unknown argument $1" >&2; exit 2 ;;
  esac
done

cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" -j"$(nproc)" --target bench_download_restart orv-standin >/dev/null
runner="$build/bench/download/bench_download_restart"

work="$(mktemp -d "${TMPDIR:-/tmp}/orv-kill9.XXXXXX")"
server_pid=""
keep=0
cleanup() {
  [ -n "$server_pid" ] && kill "$server_pid" 2>/dev/null && wait "$server_pid" 2>/dev/null || true
  [ "$keep" = 1 ] || rm -rf "$work"
}
trap cleanup EXIT

# Files of 10..100 KB of random bytes.
mkdir -p "$work/server" "$work/client"
for i in $(seq -f '%04g' 0 $((files - 1))); do
  head -c $((10240 + RANDOM * 3 % 92160)) /dev/urandom >"$work/server/sub_$i.png"
done

"$build/tools/standin/orv-standin" --port-file "$work/port" --asset-root "$work/server" --exit-after 7200 \
  >"$work/standin.log" 2>&1 &
server_pid=$!
for _ in $(seq 100); do [ -s "$work/port" ] && break; sleep 0.05; done
url="http://127.0.0.1:$(cat "$work/port")"

run=(--folder "$work/client" --server-root "$work/server" --base-url "$url" --reels "$reels")
log="$work/engine.log"
killed=0
finished_early=0
started=$(date +%s)
while [ "$killed" -lt "$kills" ]; do
  "$runner" "${run[@]}" >>"$log" 2>&1 &
  pid=$!
  delay_ms=$((50 + (RANDOM * 32768 + RANDOM) % (max_ms - 49)))
  sleep "$(printf '%d.%03d' $((delay_ms / 1000)) $((delay_ms % 1000)))"
  if kill -0 "$pid" 2>/dev/null; then
    kill -9 "$pid"
    wait "$pid" 2>/dev/null || true
    killed=$((killed + 1))
    # Where the kill fell: what the store holds now.
    state="$("$runner" --folder "$work/client" --server-root "$work/server" --check 2>/dev/null |
      sed -n 's/^files: \([0-9]*\) in the store, \([0-9]*\) verified, \([0-9]*\) revealed.*/\1 files, \2 verified, \3 revealed/p;
              s/^events: \([0-9]*\) .*, \([0-9]*\) acknowledged exactly once/\2 of \1 events acknowledged/p' | paste -sd ';' - || true)"
    echo "kill $killed after ${delay_ms} ms: ${state:-no DCP in the store yet}"
  else
    # Everything was done before the kill: the run is over sooner than asked.
    wait "$pid" || true
    finished_early=1
    echo "the engine finished before kill $((killed + 1)); no more kills"
    break
  fi
done

echo "last start, to the end"
if ! timeout 600 "$runner" "${run[@]}" >>"$log" 2>&1; then
  echo "the last run did not finish (log: $log)"
  keep=1
  "$runner" --folder "$work/client" --server-root "$work/server" --check || true
  exit 1
fi
echo "$killed kills in $(( $(date +%s) - started )) s; checking"
status=0
"$runner" --folder "$work/client" --server-root "$work/server" --check || { status=1; keep=1; echo "folder kept: $work"; }
[ "$finished_early" = 1 ] && echo "(fewer kills than asked: use more --files or a smaller --max-ms)"
exit $status
