#!/usr/bin/env bash
# Start-to-window time and resident memory of the real program with a large catalogue.
#
#   bench/start_window.sh [--runs N] [--history] [--program PATH ...] [DCPS ...]
#
# Defaults: 3 runs of 1000 3000 10000 DCPs with $BUILD_DIR/src/reelvane-downloader. Several
# --program binaries (e.g. a copy built from main beside the current one) are run in turn
# within each round, so they meet the same machine load.
#
# For each size a store of DCPS DCPs x 10 reels x 5 assets is built once through
# DCP::syncToDatabase (bench_model_catalogue_load --build-into; --history: as years of use
# leave it, see bench/model/BenchStore.h) and kept under $BUILD_DIR/bench-stores/. Each run
# copies the program and the pristine store into a fresh folder, starts it against the
# stand-in server (downloads paused, so nothing is fetched), types the password into the
# Login dialog and presses Return, then times from the stand-in's login answer (its request
# journal) until the main window is mapped (CPU time of the program alongside), and reads
# the program's resident memory two seconds later (VmRSS) and its peak (VmHWM). Prints one
# line per run and the median with the spread (min-max) per size. Runs under xvfb-run when
# there is no display. Needs xdotool.
set -euo pipefail

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${BUILD_DIR:-$root/build}"

if [ -z "${DISPLAY:-}" ]; then
  exec xvfb-run -a -s "-screen 0 1280x1024x24 -noreset" "$0" "$@"
fi

runs=3
history=""
sizes=()
programs=()
while [ $# -gt 0 ]; do
  case "$1" in
    --runs) runs="$2"; shift 2 ;;
    --history) history="--history"; shift ;;
    --program) programs+=("$(realpath "$2")"); shift 2 ;;
    *) sizes+=("$1"); shift ;;
  esac
done
[ ${#sizes[@]} -gt 0 ] || sizes=(1000 3000 10000)

[ ${#programs[@]} -gt 0 ] || programs=("$build/src/reelvane-downloader")
standin="$build/tools/standin/orv-standin"
builder="$build/bench/model/bench_model_catalogue_load"
for tool in "${programs[@]}" "$standin" "$builder"; do
  [ -x "$tool" ] || { echo "missing $tool: build it first" >&2; exit 1; }
done

work="$(mktemp -d "${TMPDIR:-/tmp}/orv-start.XXXXXX")"
standin_pid=""
app_pid=""
cleanup() {
  [ -n "$app_pid" ] && kill -9 "$app_pid" 2>/dev/null || true
  [ -n "$standin_pid" ] && kill "$standin_pid" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

"$standin" --port 0 --port-file "$work/port" --exit-after 7200 --journal "$work/journal" >/dev/null 2>&1 &
standin_pid=$!
for _ in $(seq 100); do [ -s "$work/port" ] && break; sleep 0.05; done
port="$(cat "$work/port")"

main_title='^Reelvane Downloader 1\.4\.0'

# Login answers the stand-in has sent so far (its journal has a line per finished request).
answered() { grep -c authenticate "$work/journal" 2>/dev/null || true; }

now_ms() { echo $(($(date +%s%N) / 1000000)); }

# window_of PID REGEX: the first visible window of the process whose title matches, or nothing.
window_of() { xdotool search --onlyvisible --pid "$1" --name "$2" 2>/dev/null | head -n1 || true; }

# CPU time (user + system) of the process so far in ms; the kernel counts in ticks of 10 ms.
cpu_ms() { awk -v hz="$(getconf CLK_TCK)" '{ print int(($14 + $15) * 1000 / hz) }' "/proc/$1/stat"; }

median_spread() { # values on stdin: "median (min-max)"
  sort -n | awk '{ v[NR] = $1 } END { m = (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2;
    printf "%s (%s-%s)", m, v[1], v[NR] }'
}

echo "start to window: $runs runs per size, stand-in on port $port${history:+, store with history}"
for dcps in "${sizes[@]}"; do
  store="$build/bench-stores/${dcps}x10x5${history:+-history}"
  if [ ! -f "$store/orvdownloader.4.sqlite" ]; then
    echo "building store $store ..." >&2
    rm -rf "$store" && mkdir -p "$store"
    "$builder" "$dcps" 10 5 $history --build-into "$store" 2>/dev/null >&2
  fi
  declare -A times=() cpus=() rss=() peaks=()
  for run in $(seq "$runs"); do
    for p in "${!programs[@]}"; do
      program="${programs[$p]}"
      app="$work/run-$dcps-$run-$p"
      # A keystroke lost while the dialog settles its focus turns into a refused login: then
      # the run starts over.
      for attempt in 1 2 3 4 5; do
        rm -rf "$app" && mkdir -p "$app/tmp"
        cp "$program" "$app/reelvane-downloader"
        cp "$store/orvdownloader.4.sqlite" "$app/"
        (cd "$app" && exec env TMPDIR="$app/tmp" XDG_RUNTIME_DIR="$app/tmp" QT_QPA_PLATFORM=xcb \
           DBUS_SESSION_BUS_ADDRESS=disabled: \
           ORV_PORTAL_URL="http://127.0.0.1:$port/" ORV_NOTIFY_URL="http://127.0.0.1:$port" \
           ./reelvane-downloader >/dev/null 2>&1) &
        app_pid=$!
        login=""
        for _ in $(seq 600); do
          login="$(window_of "$app_pid" '^Login$')"
          [ -n "$login" ] && break
          sleep 0.1
        done
        [ -n "$login" ] || { echo "no Login window (see $app/debug.log)" >&2; exit 1; }
        sleep 1 # the dialog settles its focus
        answers=$(answered)
        # A window that went away under the keystrokes shows as a refused login below.
        xdotool windowfocus --sync "$login" 2>/dev/null || true
        xdotool type --delay 10 secret 2>/dev/null || true
        xdotool key Return 2>/dev/null || true
        # The clock starts when the stand-in has sent the login's answer.
        start=$(now_ms)
        until [ "$(answered)" -gt "$answers" ]; do
          [ $(($(now_ms) - start)) -lt 30000 ] || break
        done
        if [ "$(answered)" -le "$answers" ]; then
          echo "  (no login request; starting again)" >&2
          kill -9 "$app_pid" 2>/dev/null || true
          wait "$app_pid" 2>/dev/null || true
          app_pid=""
          main=""
          continue
        fi
        start=$(now_ms)
        cpu_start=$(cpu_ms "$app_pid")
        main=""
        refused=""
        while [ -z "$main" ]; do
          main="$(window_of "$app_pid" "$main_title")"
          # Only the window shown after the scene was started counts: a title search may also
          # hit the dialog on its way out, and boxes carry the program's name too.
          if [ -n "$main" ] && ! grep -q "Starting QML" "$app/debug.log" 2>/dev/null; then
            main=""
          fi
          [ -n "$main" ] && break
          # Any other window but the dialog: the box of a refused login.
          for w in $(xdotool search --onlyvisible --pid "$app_pid" 2>/dev/null || true); do
            name="$(xdotool getwindowname "$w" 2>/dev/null || true)"
            [ "$name" = "Login" ] || [[ "$name" =~ $main_title ]] || refused="$name"
          done
          [ -z "$refused" ] || break
          kill -0 "$app_pid" 2>/dev/null || { echo "the program ended (see $app/debug.log)" >&2; exit 1; }
          [ $(($(now_ms) - start)) -lt 120000 ] || { echo "no main window after 120 s" >&2; exit 1; }
        done
        [ -n "$main" ] && break
        echo "  (login not accepted: \"$refused\"; starting again)" >&2
        grep -v "Syncing\|Removing" "$app/debug.log" | tail -3 >&2 || true
        kill -9 "$app_pid" 2>/dev/null || true
        wait "$app_pid" 2>/dev/null || true
        app_pid=""
      done
      [ -n "$main" ] || { echo "the login was not accepted in 5 attempts" >&2; exit 1; }
      elapsed=$(($(now_ms) - start))
      cpu=$(($(cpu_ms "$app_pid") - cpu_start))
      sleep 2
      resident=$(awk '/^VmRSS:/ { printf "%.0f", $2 / 1024 }' "/proc/$app_pid/status")
      peak=$(awk '/^VmHWM:/ { printf "%.0f", $2 / 1024 }' "/proc/$app_pid/status")
      kill "$app_pid" 2>/dev/null || true
      wait "$app_pid" 2>/dev/null || true
      app_pid=""
      rm -rf "$app"
      echo "  $dcps DCPs, $program, run $run: ${elapsed} ms (${cpu} ms CPU) to the main window, ${resident} MB resident (peak ${peak} MB)"
      times[$p]+="$elapsed "
      cpus[$p]+="$cpu "
      rss[$p]+="$resident "
      peaks[$p]+="$peak "
    done
  done
  for p in "${!programs[@]}"; do
    echo "RESULT $dcps DCPs${history:+ with history}, ${programs[$p]}:" \
      "$(printf '%s\n' ${times[$p]} | median_spread) ms" \
      "(CPU $(printf '%s\n' ${cpus[$p]} | median_spread) ms)," \
      "$(printf '%s\n' ${rss[$p]} | median_spread) MB resident, peak $(printf '%s\n' ${peaks[$p]} | median_spread) MB"
  done
done
