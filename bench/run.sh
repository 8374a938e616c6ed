#!/usr/bin/env bash
# Runs every benchmark and prints one table: figure, ours, the peer tool's, the ratio, and the
# limit or ceiling the figure is held to. Each benchmark prints its details first (to the log
# file) and its table rows as "TABLE<tab>..." lines.
#
#   bench/run.sh            full sizes (a few minutes; 2 GiB hashes, a 4 GB download)
#   bench/run.sh --quick    small sizes, for a first look (about a minute)
#
# The no-limit download is measured over plain HTTP and again over HTTPS (curl --cacert beside).
# The many-small-files figures come from the stand-in and from nginx (run as a user process).
#
# Runs in a temporary folder under the current directory: start it from a folder on the
# drive you want to measure. BUILD_DIR overrides the build folder (default build/).
set -euo pipefail

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${BUILD_DIR:-$root/build}"
quick=0
[ "${1:-}" = "--quick" ] && quick=1

"$root/scripts/install-deps.sh" --bench
cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" -j"$(nproc)" --target bench_model_sha1 bench_model_catalogue_load \
  bench_download_rate bench_download_memory bench_download_verify bench_download_drivecheck bench_download_hostile \
  bench_download_schedule bench_download_smallfiles >/dev/null

work="$(mktemp -d "$PWD/orv-bench.XXXXXX")"
trap 'rm -rf "$work"' EXIT
log="$build/bench.log"
: >"$log"

if [ "$quick" = 1 ]; then
  runs=(
    "model/bench_model_sha1 256 $work"
    "model/bench_model_catalogue_load 200 10 5"
    "download/bench_download_rate --duration 5 --rates 1,10,100,200"
    "download/bench_download_memory --size-gb 1"
    "download/bench_download_verify --size-gb 1"
    "download/bench_download_drivecheck --size-gb 1"
    "download/bench_download_hostile --seconds 20"
    "download/bench_download_schedule"
    "download/bench_download_smallfiles --runs 3"
  )
else
  runs=(
    "model/bench_model_sha1 2048 $work"
    "model/bench_model_catalogue_load 1000 10 5"
    "download/bench_download_rate"
    "download/bench_download_memory"
    "download/bench_download_verify"
    "download/bench_download_drivecheck --size-gb 2"
    "download/bench_download_hostile"
    "download/bench_download_schedule"
    "download/bench_download_smallfiles"
  )
fi

# The no-limit figures again over HTTPS, with a throw-away authority made here.
tls="$work/tls"
mkdir -p "$tls"
( cd "$tls"
  openssl req -x509 -newkey ec -pkeyopt ec_paramgen_curve:prime256v1 -nodes -keyout ca.key -out ca.pem \
    -days 2 -subj "/CN=Reelvane bench authority"
  openssl req -newkey ec -pkeyopt ec_paramgen_curve:prime256v1 -nodes -keyout server.key -out server.csr \
    -subj "/CN=127.0.0.1" -addext "subjectAltName=IP:127.0.0.1"
  openssl x509 -req -in server.csr -CA ca.pem -CAkey ca.key -CAcreateserial -copy_extensions copy \
    -days 2 -out server.pem ) >>"$log" 2>&1
duration=20
[ "$quick" = 1 ] && duration=5
runs+=("download/bench_download_rate --duration $duration --no-per-second --no-whole --tls-cert $tls/server.pem --tls-key $tls/server.key --tls-ca $tls/ca.pem")

rows=()
for run in "${runs[@]}"; do
  echo "running $run" >&2
  set -- $run
  program="$build/bench/$1"; shift
  output="$(cd "$work" && "$program" "$@" 2>>"$log" | tee -a "$log")" || echo "  (failed: see $log)" >&2
  while IFS= read -r line; do rows+=("$line"); done < <(printf '%s\n' "$output" | grep '^TABLE' || true)
done

echo
echo "Measured on $(uname -n): $(nproc) cores, $(awk '/MemTotal/ {printf "%.0f GB", $2 / 1048576}' /proc/meminfo), $(date -u +%Y-%m-%d)"
echo
echo "| Figure | Ours | Peer | Ratio | Limit or ceiling |"
echo "|---|---|---|---|---|"
for row in "${rows[@]}"; do
  IFS=$'\t' read -r _ figure ours peer ratio limit <<<"$row"
  echo "| $figure | $ours | $peer | $ratio | $limit |"
done
echo
echo "Details: $log"
