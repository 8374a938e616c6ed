#!/usr/bin/env bash
# Installs what is missing, builds the program and makes its Debian package
# (build/reelvane-downloader_<version>_<arch>.deb). Install it with: apt-get install ./<file>.deb
# BUILD_DIR overrides the build folder (default: build/ in the checkout).
set -euo pipefail

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${BUILD_DIR:-$root/build}"

"$root/scripts/install-deps.sh"
cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build "$build" -j"$(nproc)" --target reelvane-downloader
cd "$build"
cpack -G DEB -B "$build"
ls -1 "$build"/*.deb
