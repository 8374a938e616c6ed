#!/usr/bin/env bash
# The main job, end to end, on this machine alone: installs what is missing, builds, makes a
# sample DCP (three reels with subtitles and fonts) and its package, starts the local stand-in
# server as portal, notification service and asset server, and launches the program with the
# package on its command line.
#
#   scripts/demo.sh              with a display: you log in and pick the folder yourself
#   scripts/demo.sh --headless   (or no DISPLAY) runs under Xvfb and drives the flow itself
#   scripts/demo.sh --https      the stand-in serves HTTPS with a certificate from a throw-away
#                                authority made here with openssl, trusted via ORV_EXTRA_CA_FILE
#
# At the end the downloaded DCP is checked (SHA-1 of every file against the PKL, the four XML
# documents, no hidden file left, every reel acknowledged); the exit code says whether it held.
# Environment: BUILD_DIR (default build/), DEMO_PICTURE_SIZE (default 80M per reel),
# DEMO_TIMEOUT (seconds to wait for the download, default 900), DEMO_KEEP=1 keeps the folder.
set -euo pipefail

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${BUILD_DIR:-$root/build}"
headless=0
https=0
for arg in "$@"; do
  case "$arg" in
    --headless) headless=1 ;;
    --https) https=1 ;;
    -h|--help) sed -n '2,15p' "$0" | sed 's/^# \{0,1\}//'; exit 0 ;;
    *) echo "demo.sh: unknown argument $arg (see --help)" >&2; exit 2 ;;
  esac
done
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then headless=1; fi

"$root/scripts/install-deps.sh"
cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
echo "Building the program and the demo's tools: a first build takes a few minutes (log: $build/demo-build.log)"
cmake --build "$build" -j"$(nproc)" --target reelvane-downloader orv-standin orv-makedcp orv-makepackage orv-checkdcp \
  >"$build/demo-build.log" 2>&1 &
builder=$!
# Every 10 s, how far the build has got, so a long first build is not mistaken for a hang.
while kill -0 "$builder" 2>/dev/null; do
  for _ in $(seq 20); do kill -0 "$builder" 2>/dev/null && sleep 0.5; done
  kill -0 "$builder" 2>/dev/null || break
  done_part="$(grep -o '^\[ *[0-9]*%\]' "$build/demo-build.log" 2>/dev/null | tail -n 1 | tr -d '[] ')"
  echo "  still building (${SECONDS}s${done_part:+, $done_part done})"
done
wait "$builder" || { tail -n 30 "$build/demo-build.log"; exit 1; }
echo "Build done"

demo="$(mktemp -d "${TMPDIR:-/tmp}/reelvane-demo.XXXXXX")"
user="demo"
password="reelvane-demo"
key="reelvane-demo-decoding-key-0123456789abcdef"
user_uuid="6f1c2a4e-0b7d-4c55-9e21-3d8f5a7b9c01"
title="Reelvane_Demo_FTR"
pids=()

cleanup() {
  local status=$?
  trap - EXIT INT TERM
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  for pid in "${pids[@]}"; do wait "$pid" 2>/dev/null || true; done
  if [ "${DEMO_KEEP:-0}" = 1 ] || [ "$status" -ne 0 ]; then
    echo "Demo folder kept: $demo"
  else
    # The screenshots and the log are worth keeping; the film data is not.
    rm -rf "$demo/dcps" "$demo/download"
    echo "Demo folder (screenshots, logs): $demo"
  fi
  exit "$status"
}
trap cleanup EXIT
trap 'exit 130' INT
trap 'exit 143' TERM

step() { printf '\n== %s\n' "$*"; }

step "Making a sample DCP and its package in $demo"
"$build/tools/dcptools/orv-makedcp" --reels 3 --subtitles --picture-size "${DEMO_PICTURE_SIZE:-80M}" \
  --sound-size 16M --title "$title" "$demo/dcps"

tls=()
scheme=http
if [ "$https" = 1 ]; then
  step "Making a throw-away certificate authority and a certificate for 127.0.0.1"
  mkdir -p "$demo/tls"
  ( cd "$demo/tls"
    openssl req -x509 -newkey ec -pkeyopt ec_paramgen_curve:prime256v1 -nodes -keyout ca.key -out ca.pem \
      -days 2 -subj "/CN=Reelvane demo authority"
    openssl req -newkey ec -pkeyopt ec_paramgen_curve:prime256v1 -nodes -keyout server.key -out server.csr \
      -subj "/CN=127.0.0.1" -addext "subjectAltName=IP:127.0.0.1,DNS:localhost"
    openssl x509 -req -in server.csr -CA ca.pem -CAkey ca.key -CAcreateserial -copy_extensions copy \
      -days 2 -out server.pem ) >"$demo/tls/openssl.out" 2>&1 || { cat "$demo/tls/openssl.out"; exit 1; }
  tls=(--tls-cert "$demo/tls/server.pem" --tls-key "$demo/tls/server.key")
  scheme=https
  export ORV_EXTRA_CA_FILE="$demo/tls/ca.pem"
fi

"$build/tools/standin/orv-standin" --port 0 --port-file "$demo/standin.port" --journal "$demo/journal.log" \
  --asset-root "$demo/dcps" --user "$user" --password "$password" --key "$key" --exit-after 7200 \
  "${tls[@]}" >"$demo/standin.out" 2>&1 &
pids+=($!)
for _ in $(seq 100); do [ -s "$demo/standin.port" ] && break; sleep 0.1; done
port="$(cat "$demo/standin.port")"
base="$scheme://127.0.0.1:$port"

"$build/tools/dcptools/orv-makepackage" --dcp "$demo/dcps/$title" --key "$key" --user-uuid "$user_uuid" \
  --friendly-title "Reelvane Demo Feature" --base-url "$base/assets/" --output "$demo/$title.orvdcp"

# The program keeps its store and log beside its executable: a copy of its own gives the demo
# a fresh store, and a private TMPDIR keeps it apart from an instance already running.
mkdir -p "$demo/app" "$demo/tmp" "$demo/download" "$demo/screenshots"
cp "$build/src/reelvane-downloader" "$demo/app/"
export ORV_PORTAL_URL="$base" ORV_NOTIFY_URL="$base" TMPDIR="$demo/tmp" XDG_RUNTIME_DIR="$demo/tmp"

cat <<EOT

Stand-in portal:  $base   (journal: $demo/journal.log)
Extra authority:  ${ORV_EXTRA_CA_FILE:-none}
Package:          $demo/$title.orvdcp
Log in with:      user name "$user", password "$password"
Choose a folder:  for instance $demo/download
EOT

if [ "$headless" = 0 ]; then
  step "Starting the program; close it when the reel rows say Completed"
  "$demo/app/reelvane-downloader" "$demo/$title.orvdcp" || true
else
  step "No display: running under Xvfb and driving the flow"
  for display in $(seq 90 120); do [ -e "/tmp/.X11-unix/X$display" ] || break; done
  Xvfb ":$display" -screen 0 1400x900x24 -nolisten tcp -noreset >"$demo/xvfb.out" 2>&1 &
  pids+=($!)
  export DISPLAY=":$display"
  for _ in $(seq 50); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done

  "$demo/app/reelvane-downloader" "$demo/$title.orvdcp" >/dev/null 2>&1 &
  program=$!
  pids+=("$program")

  window() { xdotool search --onlyvisible --name "$1" 2>/dev/null | head -n 1; }
  wait_window() { # title regex, seconds
    local id=""
    for _ in $(seq $(($2 * 10))); do
      id="$(window "$1")"; [ -n "$id" ] && { echo "$id"; return 0; }
      kill -0 "$program" 2>/dev/null || return 1
      sleep 0.1
    done
    return 1
  }
  shot() {
    local file="$demo/screenshots/$1.png"
    import -display "$DISPLAY" -window root "$file" 2>/dev/null && echo "screenshot: $file"
  }
  type_into() { # window, text
    xdotool windowfocus --sync "$1" 2>/dev/null || true
    xdotool type --delay 15 "$2"
  }

  id="$(wait_window '^Login$' 60)" || { echo "The login window did not appear (log: $demo/app/debug.log)"; exit 1; }
  echo "Logging in as $user"
  shot 01-login
  type_into "$id" "$user"; xdotool key Tab; xdotool type --delay 15 "$password"; xdotool key Return

  id="$(wait_window '^Select download location for your DCP' 60)" || {
    echo "The folder dialog did not appear (log: $demo/app/debug.log)"; exit 1; }
  echo "Choosing $demo/download"
  type_into "$id" "$demo/download"
  # The path completer may take the first Return; a second one accepts the dialog.
  for _ in 1 2 3; do
    xdotool key Return; sleep 1
    [ -z "$(window '^Select download location for your DCP')" ] && break
  done

  step "Downloading (progress from the stand-in's journal)"
  # What the asset server has to serve: every file of the sample but the four documents that
  # travel in the package.
  total=$(find "$demo/dcps/$title" -type f ! -name 'CPL_*' ! -name 'PKL_*' ! -name ASSETMAP ! -name VOLINDEX \
    -printf '%s\n' | awk '{s += $1} END {print s + 0}')
  changed_at=$SECONDS
  noted_at=$SECONDS
  deadline=$((SECONDS + ${DEMO_TIMEOUT:-900}))
  shot_taken=0
  while :; do
    served=$(awk '$3 ~ /^\/assets\// {s += $7} END {print s + 0}' "$demo/journal.log" 2>/dev/null || echo 0)
    acked=$(grep -c ' /notification/dcp .*event=8 .* 200 ' "$demo/journal.log" 2>/dev/null || true)
    progress="$(awk -v b="$served" -v r="${acked:-0}" 'BEGIN { printf "%6.0f MB served, %d of 3 reels verified and acknowledged", b / 1e6, r }')"
    if [ "$progress" != "${last_progress:-}" ]; then
      echo "$progress"; last_progress="$progress"; changed_at=$SECONDS; noted_at=$SECONDS
    elif [ $((SECONDS - noted_at)) -ge 10 ]; then
      # Nothing new for a while: say what the program is waiting for.
      noted_at=$SECONDS
      if [ "$served" -ge "$total" ]; then
        echo "  all data served; waiting for the portal to confirm reel $((${acked:-0} + 1)) of 3" \
          "($((SECONDS - changed_at)) s so far, about 35 s a reel; its files keep hidden names until then)"
      else
        echo "  waiting for data from the server ($((SECONDS - changed_at)) s so far)"
      fi
    fi
    if [ "$shot_taken" = 0 ] && [ "$served" -gt 20000000 ]; then shot 02-downloading; shot_taken=1; fi
    hidden=$(find "$demo/download" -name '.*' 2>/dev/null | head -n 1)
    if [ "${acked:-0}" -ge 3 ] && [ -z "$hidden" ] && [ -d "$demo/download/$title" ]; then break; fi
    kill -0 "$program" 2>/dev/null || { echo "The program ended early (log: $demo/app/debug.log)"; exit 1; }
    [ "$SECONDS" -lt "$deadline" ] || { echo "Timed out waiting for the download"; exit 1; }
    sleep 1
  done
  sleep 2
  shot 03-completed
  kill "$program" 2>/dev/null || true
fi

step "Checking the downloaded DCP"
# The demo's own DCP, by its folder name, in the folder chosen in the program (which may be a
# drive holding other DCPs); the program logs the choice.
folder="$(tr -d '\r' <"$demo/app/debug.log" 2>/dev/null | sed -n 's/.*\[DCPXMLReader\] Download location: //p' | tail -n 1)"
dcp="${folder:-$demo/download}/$title"
if [ ! -d "$dcp" ]; then echo "The demo's DCP was not downloaded: no folder $dcp"; exit 1; fi
echo "Checking $dcp"
"$build/tools/dcptools/orv-checkdcp" "$dcp" --journal "$demo/journal.log"
