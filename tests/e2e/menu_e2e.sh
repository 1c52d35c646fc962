#!/bin/bash
# SPDX-License-Identifier: MIT
# The real program under Xvfb shows the problem menu over its client area and keeps
# running until it is told to stop.
#
#   menu_e2e.sh TESSIX DISPLAY_NUMBER WM OUT_DIR
#
# WM is "none" or the name of a window manager to run (openbox). The screenshot is left
# in OUT_DIR/menu-WM.png. Every process started here is ended on exit.
set -u

readonly TESSIX=$1
readonly FIRST_DISPLAY=$2
readonly WM=$3
readonly OUT_DIR=$4

# How long to wait for each step; generous for a slow, shared CI machine.
readonly START_DEADLINE_S=30
readonly MENU_DEADLINE_S=60
# The program must still be running this long after its menu appeared.
readonly ALIVE_S=4

# The colours of the menu screen, as ImageMagick's histogram names them.
readonly TITLE='#D400D4'
readonly ENTRIES=('#00B45A' '#FF0000' '#0000FF' '#FF7850')

PIDS=()
cleanup() {
    local pid
    for pid in "${PIDS[@]}"; do
        kill "$pid" 2>/dev/null
    done
    for pid in "${PIDS[@]}"; do
        wait "$pid" 2>/dev/null
    done
}
trap cleanup EXIT

fail() {
    echo "FAIL: $*" >&2
    local log
    for log in "$OUT_DIR"/*-"$WM".log; do
        [ -s "$log" ] && { echo "--- $log" >&2; tail -n 20 "$log" >&2; }
    done
    exit 1
}

for tool in Xvfb xdotool import convert xprop; do
    command -v "$tool" >/dev/null || fail "$tool is not installed"
done
[ -x "$TESSIX" ] || fail "no program at $TESSIX"
if [ "$WM" != none ]; then
    command -v "$WM" >/dev/null || fail "window manager $WM is not installed"
fi
mkdir -p "$OUT_DIR" || fail "cannot create $OUT_DIR"

# An X server on the first free display from FIRST_DISPLAY on.
start_xvfb() {
    local n
    for ((n = FIRST_DISPLAY; n < FIRST_DISPLAY + 20; n++)); do
        [ -e "/tmp/.X$n-lock" ] && continue
        Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp >"$OUT_DIR/xvfb-$WM.log" 2>&1 &
        local pid=$!
        local deadline=$((SECONDS + START_DEADLINE_S))
        # Ready when the display answers and its lock names this server, not another
        # one that holds (or is just leaving) the same number.
        while ((SECONDS < deadline)) && kill -0 "$pid" 2>/dev/null; do
            if [ "$(tr -d ' ' <"/tmp/.X$n-lock" 2>/dev/null)" = "$pid" ] &&
                DISPLAY=":$n" xprop -root >/dev/null 2>&1; then
                PIDS+=("$pid")
                export DISPLAY=":$n"
                return 0
            fi
            sleep 0.2
        done
        kill "$pid" 2>/dev/null
        wait "$pid" 2>/dev/null
    done
    return 1
}
start_xvfb || fail "no X server could be started from display :$FIRST_DISPLAY on"
echo "X server on $DISPLAY"

if [ "$WM" != none ]; then
    "$WM" >"$OUT_DIR/wm-$WM.log" 2>&1 &
    readonly WM_PID=$!
    PIDS+=("$WM_PID")
    # A window manager announces itself on the root window.
    deadline=$((SECONDS + START_DEADLINE_S))
    until xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id'; do
        kill -0 "$WM_PID" 2>/dev/null || fail "$WM ended at start"
        ((SECONDS < deadline)) || fail "$WM did not start within ${START_DEADLINE_S}s"
        sleep 0.2
    done
fi

export SDL_AUDIODRIVER=dummy
export QT_QPA_PLATFORM=xcb
unset WAYLAND_DISPLAY
"$TESSIX" >"$OUT_DIR/tessix-$WM.log" 2>&1 &
readonly APP=$!
PIDS+=("$APP")

timeout "$START_DEADLINE_S" xdotool search --sync --onlyvisible --pid "$APP" >/dev/null ||
    fail "no visible window of the program within ${START_DEADLINE_S}s"

# Colours of the screen that are missing from the menu; empty once it is shown.
readonly SHOT="$OUT_DIR/menu-$WM.png"
missing_colours() {
    import -window root "$SHOT" 2>/dev/null || {
        echo "screenshot"
        return
    }
    local histogram
    histogram=$(convert "$SHOT" -format %c histogram:info:-)
    local clr
    for clr in "$TITLE" "${ENTRIES[@]}"; do
        grep -q " $clr " <<<"$histogram" || echo -n "$clr "
    done
}

deadline=$((SECONDS + MENU_DEADLINE_S))
while :; do
    kill -0 "$APP" 2>/dev/null || fail "the program ended by itself before showing the menu"
    missing=$(missing_colours)
    [ -z "$missing" ] && break
    ((SECONDS < deadline)) || fail "menu colours $missing not on screen after ${MENU_DEADLINE_S}s"
    sleep 0.5
done
echo "menu on screen"

# It keeps running: no size change after the layout, no abort.
alive_until=$((SECONDS + ALIVE_S))
while ((SECONDS < alive_until)); do
    kill -0 "$APP" 2>/dev/null || fail "the program ended by itself after showing the menu"
    sleep 0.5
done
missing=$(missing_colours)
[ -z "$missing" ] || fail "menu colours $missing gone after ${ALIVE_S}s"
kill -0 "$APP" 2>/dev/null || fail "the program ended by itself"
echo "PASS: menu shown under $WM and the program kept running; screenshot $SHOT"
