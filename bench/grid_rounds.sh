#!/usr/bin/env bash
# Grid scroll and idle figures of several builds in turn, round by round, with the load beside
# each run, and the medians with their range at the end.
#
#   bench/grid_rounds.sh [--runs N] [--program BENCH ...] [--aria2c] STORE_DIR [bench options]
#
# Each --program is a bench_model_grid_scroll binary (e.g. one built from an older commit in a
# folder of its own beside the current one; default: $BUILD_DIR's). Within every round each
# program runs once on STORE_DIR with the bench options (--idle S, --max-rows N, ...), and with
# --aria2c an idle `aria2c --enable-rpc` is measured for the same S seconds (CPU ticks of
# /proc/PID/stat, context switches of all its threads), so all meet the same machine load.
# Prints one line per run (with `uptime`'s load), then per program: scroll CPU down and up,
# resident memory at the top, the bottom and back at the top, idle CPU and wake-ups a second.
# Runs under xvfb-run when there is no display.
set -euo pipefail

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${BUILD_DIR:-$root/build}"

if [ -z "${DISPLAY:-}" ]; then
  exec xvfb-run -a -s "-screen 0 1280x1024x24 -noreset" "$0" "$@"
fi

runs=5
aria=0
programs=()
while [ $# -gt 0 ]; do
  case "$1" in
    --runs) runs="$2"; shift 2 ;;
    --program) programs+=("$(realpath "$2")"); shift 2 ;;
    --aria2c) aria=1; shift ;;
    *) break ;;
  esac
done
[ $# -ge 1 ] || { sed -n '4p' "$0" >&2; exit 2; }
store="$1"; shift
[ ${#programs[@]} -gt 0 ] || programs=("$build/bench/model/bench_model_grid_scroll")
idle=0
args=("$@")
for i in "${!args[@]}"; do
  [ "${args[$i]}" = "--idle" ] && idle="${args[$((i + 1))]}"
done
if [ "$aria" = 1 ] && [ "$idle" -le 0 ]; then
  echo "--aria2c needs --idle S among the bench options" >&2
  exit 2
fi

work="$(mktemp -d "${TMPDIR:-/tmp}/orv-grid.XXXXXX")"
aria_pid=""
cleanup() {
  [ -n "$aria_pid" ] && kill "$aria_pid" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

load() { uptime | sed 's/.*load average: //'; }

# CPU ticks (utime + stime) and context switches of every thread of a process.
ticks() { awk '{ print $14 + $15 }' "/proc/$1/stat"; }
switches() {
  cat /proc/"$1"/task/*/status | awk '/^(non)?voluntary_ctxt_switches:/ { s += $2 } END { print s }'
}

aria_idle() {
  aria2c --enable-rpc --rpc-listen-port="$((20000 + $$ % 20000))" --dir="$work" --quiet >/dev/null 2>&1 &
  aria_pid=$!
  sleep 3
  local hz t0 s0 t1 s1
  hz="$(getconf CLK_TCK)"
  t0="$(ticks "$aria_pid")"; s0="$(switches "$aria_pid")"
  sleep "$idle"
  t1="$(ticks "$aria_pid")"; s1="$(switches "$aria_pid")"
  kill "$aria_pid"; wait "$aria_pid" 2>/dev/null || true
  aria_pid=""
  awk -v t="$((t1 - t0))" -v s="$((s1 - s0))" -v d="$idle" -v hz="$hz" \
    'BEGIN { printf "idle %d s: CPU %.3f%%, %.2f wake-ups a second\n", d, 100 * t / hz / d, s / d }'
}

results="$work/results"
: >"$results"
echo "grid rounds: $runs rounds on $store, bench options: ${args[*]:-none}"
for round in $(seq "$runs"); do
  for p in "${!programs[@]}"; do
    before="$(load)"
    out="$("${programs[$p]}" "$store" "${args[@]}" 2>/dev/null | grep -E '^(rows|idle) ' || true)"
    echo "round $round program $p (load $before -> $(load)): $(echo "$out" | tr '\n' ' ')"
    echo "$out" | sed "s/^/$p /" >>"$results"
  done
  if [ "$aria" = 1 ]; then
    before="$(load)"
    out="$(aria_idle)"
    echo "round $round aria2c (load $before -> $(load)): $out"
    echo "aria2c $out" >>"$results"
  fi
done

# Median (the lower middle for an even count) and range of one figure.
summary() {
  sort -g | awk 'NF { v[++n] = $1 } END { if (n) printf "%s (%s-%s)", v[int((n + 1) / 2)], v[1], v[n]; else printf "-" }'
}
figure() { # who, awk program printing the figure from one result line
  grep "^$1 " "$results" | awk "$2" | summary
}
echo
for p in "${!programs[@]}" $([ "$aria" = 1 ] && echo aria2c); do
  label="$p"
  [ "$p" != aria2c ] && label="$p ${programs[$p]}"
  echo "$label:"
  if [ "$p" != aria2c ]; then
    echo "  rows $(figure "$p" '$2 == "rows" { sub(";", "", $3); print $3 }')"
    echo "  CPU down ms $(figure "$p" '$2 == "rows" { print $5 }'), up ms $(figure "$p" '$2 == "rows" { print $12 }')"
    echo "  resident MB: top $(figure "$p" '/ top / { match($0, / top [0-9.]+/); print substr($0, RSTART + 5, RLENGTH - 5) }')," \
      "bottom $(figure "$p" '/ bottom / { match($0, / bottom [0-9.]+/); print substr($0, RSTART + 8, RLENGTH - 8) }')," \
      "back at the top $(figure "$p" '/back at the top/ { match($0, /back at the top [0-9.]+/); print substr($0, RSTART + 16, RLENGTH - 16) }')"
  fi
  if [ "$idle" -gt 0 ]; then
    echo "  idle CPU % $(figure "$p" '$2 == "idle" { sub("%,", "", $6); print $6 }')," \
      "wake-ups/s $(figure "$p" '$2 == "idle" { print $7 }')"
  fi
done
