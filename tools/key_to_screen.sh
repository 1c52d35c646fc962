#!/bin/bash
# SPDX-License-Identifier: MIT
# Key to screen on the real program, timed from outside it by tessix-keytoscreen: an
# Xvfb of 1920x1080 with no window manager, first the one-pixel baseline window, then the
# game with a fixed seed: problem 4 (Space, then Down on the top-left side) and, after
# its verdict, problem 2 (Up and Down in turn, so that every press resizes the circle).
#
#   key_to_screen.sh TESSIX KEYTOSCREEN OUT_DIR [PRESSES] [--shots]
#
# Prints one line per press, "MEASURE WHAT KEY MICROSECONDS REPORTS AREA", WHAT being
# baseline, problem4 or problem2. With --shots every press is sent on its own and
# followed by a screenshot (OUT_DIR/keys-NNN.png), to compare what two builds show
# after each event; the times are then not worth reading.
set -u
# The game's rules file the build writes beside the program's tests.
export E2E_RULES=${E2E_RULES:-$(dirname "$1")/tests/rules.sh}
source "$(dirname "$0")/../tests/e2e/lib/common.sh"

KTS=$2
PRESSES=${4:-20}
SHOTS=${5:-}
E2E_SCREEN_SIZE=1920x1080
e2e_setup keys "$1" "$3"
[ -x "$KTS" ] || e2e_fail "no key timer at $KTS"
SHOT_NO=0

# measure WHAT N KEY...: N presses of the keys in turn.
measure() {
    local what=$1 n=$2
    shift 2
    if [ -z "$SHOTS" ]; then
        "$KTS" --presses "$n" "$@" | sed "s/^/MEASURE $what /"
        return
    fi
    local i keys=("$@")
    for ((i = 0; i < n; i++)); do
        "$KTS" --presses 1 "${keys[i % ${#keys[@]}]}" | sed "s/^/MEASURE $what /"
        SHOT_NO=$((SHOT_NO + 1))
        e2e_shot "$(printf 'press-%03d' "$SHOT_NO")"
    done
}

e2e_start_xvfb 80
"$KTS" --baseline --presses "$PRESSES" space | sed 's/^/MEASURE baseline /'

e2e_start_tessix --seed 1 --mute
e2e_wait_window
e2e_wait_menu menu
e2e_client_area
e2e_focus
read -r RX SY <<<"$E2E_RIGHT_PT"
# The pointer rests in a corner where no key draws.
park() { xdotool mousemove --sync $((E2E_X + E2E_W - 1)) $((E2E_Y + E2E_H - 1)) 2>/dev/null || true; }
shown() {
    e2e_shot "$1"
    (($(e2e_count_rect "$E2E_RECT_RIGHT" "$2") > 40000))
}

e2e_choose_problem 4
e2e_wait_until "$E2E_SCREEN_DEADLINE_S" "problem 4 screen" shown problem4 "$E2E_CYAN"
park
measure problem4 "$PRESSES" space
measure problem4 "$PRESSES" Down
e2e_click "$RX" "$SY"
e2e_wait_menu after4

e2e_choose_problem 2
e2e_wait_until "$E2E_SCREEN_DEADLINE_S" "problem 2 screen" shown problem2 "$E2E_MAGENTA"
park
measure problem2 $((2 * PRESSES)) Up Down
e2e_shot end
