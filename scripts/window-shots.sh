#!/usr/bin/env bash
# Screenshots of the main window on the screens that once cut it, each under openbox on a
# virtual screen: 1366x768 with a 30-pixel panel, 1024x600, and 1920x1080 at 200 %. The
# in-process window test tst_app_window_fit checks on each that every control is in view and
# keeps its pictures (window and whole screen, as opened and maximised) in
# <build>/artefacts/window-fit.
#   scripts/window-shots.sh [build folder]
set -euo pipefail
build=$(cd "${1:-build}" && pwd)
test_binary=$build/tests/app/tst_app_window_fit
out=$build/artefacts/window-fit
display=:${ORV_SHOTS_DISPLAY:-93}
mkdir -p "$out"
work=$(mktemp -d)
trap 'kill $(jobs -p) 2>/dev/null || true; rm -rf "$work"' EXIT

shoot() {
    local name=$1 size=$2 panel=$3 scale=$4
    # openbox keeps the panel's room free: maximised windows and the work area leave it.
    cat > "$work/rc.xml" <<RC
<?xml version="1.0" encoding="UTF-8"?>
<openbox_config xmlns="http://openbox.org/3.4/rc">
  <margins><top>0</top><bottom>$panel</bottom><left>0</left><right>0</right></margins>
</openbox_config>
RC
    Xvfb "$display" -screen 0 "${size}x24" -nolisten tcp >/dev/null 2>&1 &
    local xvfb=$!
    for _ in $(seq 50); do DISPLAY=$display xprop -root >/dev/null 2>&1 && break; sleep 0.1; done
    DISPLAY=$display openbox --config-file "$work/rc.xml" >/dev/null 2>&1 &
    local wm=$!
    for _ in $(seq 50); do
        DISPLAY=$display xprop -root _NET_WORKAREA 2>/dev/null | grep -q = && break
        sleep 0.1
    done
    echo "== $name: screen $size, panel $panel px, scale $scale"
    local status=0
    (cd "$work" && DISPLAY=$display QT_QPA_PLATFORM=xcb QT_SCALE_FACTOR=$scale ORV_SHOTS_DIR=$out \
        ORV_SHOTS_NAME=$name "$test_binary" >"$work/log" 2>&1) || status=1
    grep -E '^(PASS|FAIL|   |QWARN|Totals)|screenshot' "$work/log" || true
    kill "$wm" "$xvfb" 2>/dev/null || true
    wait "$wm" "$xvfb" 2>/dev/null || true
    return $status
}

failed=0
shoot 1366x768-panel 1366x768 30 1 || failed=1
shoot 1024x600 1024x600 0 1 || failed=1
shoot 1920x1080-scale2 1920x1080 0 2 || failed=1
echo "Screenshots in $out"
exit $failed
