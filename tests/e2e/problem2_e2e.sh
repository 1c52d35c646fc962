#!/bin/bash
# SPDX-License-Identifier: MIT
# Problem 2, "Stop When They Are Equal", played on the real program: the magenta circle
# starts smaller than the yellow triangle; each Up press grows it and each Down press
# shrinks it by one step, drawn at once; it is stopped at the size whose pixel count is
# closest to the triangle's (within 1.5%) and clicked, which is judged right. A click on
# the place of the problem-2 entry made at once after the answer, while the game judges
# and pauses, is handled once the menu is back: problem 2 comes up again, with the score
# of the first answer.
#
#   problem2_e2e.sh TESSIX DISPLAY_NUMBER WM OUT_DIR
set -u
source "$(dirname "$0")/lib/common.sh"

e2e_setup "problem2-$3" "$1" "$4"
e2e_start_xvfb "$2"
e2e_start_wm "$3"
e2e_start_tessix --seed 23 --mute
e2e_wait_window
e2e_wait_menu menu
e2e_client_area
e2e_focus

read -r RX SY <<<"$E2E_RIGHT_PT"
read -r ML MT MR MB <<<"$E2E_RECT_MESSAGE"

left_count() { e2e_count_rect "$E2E_RECT_LEFT" "$1"; }
right_count() { e2e_count_rect "$E2E_RECT_RIGHT" "$1"; }
band_has() { [ "$(e2e_px present $((E2E_X + ML)) $((E2E_Y + MT)) $((MR - ML)) $((MB - MT)) "$1")" = yes ]; }
score_shown() {
    local l t r b
    read -r l t r b <<<"$E2E_RECT_SCORE"
    [ "$(e2e_px present $((E2E_X + l)) $((E2E_Y + t)) $((r - l)) $((b - t)) "$E2E_SCORE")" = yes ]
}
# The triangle's area in thousandths of the circle's, as the game compares them.
ratio() { echo $((TRIANGLE * E2E_RATIO_SCALE / CIRCLE)); }
distance() {
    local r=$1
    echo $((r > E2E_RATIO_SCALE ? r - E2E_RATIO_SCALE : E2E_RATIO_SCALE - r))
}

problem_shown() {
    e2e_shot "$1"
    (($(left_count "$E2E_YELLOW") > 40000 && $(right_count "$E2E_MAGENTA") > 40000)) &&
        band_has 0,0,0
}

e2e_choose_problem 2
e2e_wait_until "$E2E_SCREEN_DEADLINE_S" "problem 2 screen" problem_shown problem
TRIANGLE=$(left_count "$E2E_YELLOW")
CIRCLE=$(right_count "$E2E_MAGENTA")
e2e_log "yellow triangle $TRIANGLE pixels, magenta circle $CIRCLE pixels, ratio $(ratio)"
((CIRCLE < TRIANGLE)) || e2e_fail "the circle does not start smaller than the triangle"

# One key press, then the circle's new size once it is on screen. The count must move the
# way the key says; a press that changes nothing fails here.
PRESSES=0
press() {
    local key=$1 before=$CIRCLE
    PRESSES=$((PRESSES + 1))
    e2e_key "$key"
    circle_changed() {
        e2e_shot "press-$PRESSES"
        CIRCLE=$(right_count "$E2E_MAGENTA")
        ((CIRCLE != before))
    }
    e2e_wait_until "$E2E_SCREEN_DEADLINE_S" "new circle size after $key" circle_changed
    if [ "$key" = Up ]; then
        ((CIRCLE > before)) || e2e_fail "Up shrank the circle from $before to $CIRCLE"
    else
        ((CIRCLE < before)) || e2e_fail "Down grew the circle from $before to $CIRCLE"
    fi
    (($(left_count "$E2E_YELLOW") == TRIANGLE)) || e2e_fail "the triangle changed with $key"
    e2e_log "$key: circle $CIRCLE pixels, ratio $(ratio)"
}

# Grow until the circle is no longer smaller than the triangle.
SIZES=("$CIRCLE")
while ((CIRCLE < TRIANGLE)); do
    ((PRESSES < 20)) || e2e_fail "the circle is still smaller after $PRESSES presses of Up"
    press Up
    SIZES+=("$CIRCLE")
done
# One step back gives the size before exactly, with no trace of the bigger rim: the
# square holds only the circle and white.
smaller=${SIZES[-2]}
larger=$CIRCLE
press Down
((CIRCLE == smaller)) || e2e_fail "Down after Up gave $CIRCLE pixels, not the $smaller of before"
white=$(right_count "$E2E_WHITE")
((white + CIRCLE == 336 * 336)) ||
    e2e_fail "other colours than magenta and white in the square after Down ($white white)"
# Keep whichever of the two sizes is closer to the triangle.
smaller_ratio=$(ratio)
if (($(distance "$((TRIANGLE * E2E_RATIO_SCALE / larger))") < $(distance "$smaller_ratio"))); then
    press Up
    ((CIRCLE == larger)) || e2e_fail "Up after Down gave $CIRCLE pixels, not the $larger of before"
fi
final=$(ratio)
((final >= E2E_EQUAL_BAND_LOW && final <= E2E_EQUAL_BAND_HIGH)) ||
    e2e_fail "no circle size within the band of the triangle (ratio $final)"

# The answer, and at once a click on the place of the problem-2 entry (left of the
# shapes on this screen, where a click does nothing). The program takes no input while
# it judges and pauses: the second click waits, whatever the machine's speed, and
# chooses problem 2 once the menu is back.
e2e_click "$RX" "$SY"
e2e_choose_problem 2
e2e_log "answered, then clicked the problem-2 entry's place"
verdict_shown() { e2e_shot verdict && band_has "$E2E_RIGHT"; }
e2e_wait_until "$E2E_SCREEN_DEADLINE_S" "right verdict in the message band" verdict_shown
! band_has "$E2E_WRONG" || e2e_fail "the wrong answer's grey in the message band"
e2e_log "verdict shown"
second_presentation() { problem_shown again && score_shown; }
e2e_wait_until "$E2E_SCREEN_DEADLINE_S" "problem 2 again, chosen by the click made during the pause" \
    second_presentation
e2e_app_alive || e2e_fail "the program ended"
e2e_log "PASS; screenshots in $E2E_OUT"
