#!/usr/bin/env bash
# Installs the Debian 12 packages the build, the tests, the demo and the benchmarks need.
# Safe to run again: apt-get skips what is already there.
#
#   scripts/install-deps.sh          what the build, the tests and the demo need
#   scripts/install-deps.sh --bench  also the benchmarks' optional peers (nginx as a second server)
set -euo pipefail

packages=(
  build-essential cmake pkg-config ccache
  qtbase5-dev qtdeclarative5-dev libqt5svg5-dev libqt5sql5-sqlite libqt5quicktest5
  qttools5-dev qttools5-dev-tools qttranslations5-l10n
  qml-module-qtquick2 qml-module-qtquick-window2 qml-module-qtquick-controls
  qml-module-qtquick-dialogs qml-module-qtquick-layouts qml-module-qtqml-models2
  qml-module-qttest qml-module-qt-labs-folderlistmodel qml-module-qt-labs-settings
  libcrypto++-dev libsqlite3-dev zlib1g-dev
  xvfb xauth xdotool x11-utils openbox
  dosfstools e2fsprogs curl aria2 openssl tinyproxy imagemagick
  dbus-daemon python3-dbusmock
  desktop-file-utils shared-mime-info
  dpkg-dev file e2fsprogs
)
# Only the benchmarks use it; the tests never do.
[ "${1:-}" = "--bench" ] && packages+=(nginx-light)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done

if [ ${#missing[@]} -gt 0 ]; then
  SUDO=""
  [ "$(id -u)" -eq 0 ] || SUDO="sudo"
  export DEBIAN_FRONTEND=noninteractive
  $SUDO apt-get update -qq
  $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
