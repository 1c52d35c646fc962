#!/bin/bash
# SPDX-License-Identifier: MIT
# Problem 4, "Reshape The Larger One", played on the real program: an orange cross on
# the left, a bigger cyan shape with a blue outline on the right and the red cross-hair
# at its top-left side. Down caves the current side in by the same step on both axes,
# Space moves the cross-hair round the four sides; every side is caved in the same
# number of times, the number chosen by measuring cyan against orange in screenshots,
# until the areas are within 2.5% of each other; a click on the shape is judged right.
#
#   problem4_e2e.sh TESSIX DISPLAY_NUMBER WM OUT_DIR
set -u
source "$(dirname "$0")/lib/common.sh"

e2e_setup "problem4-$3" "$1" "$4"
e2e_start_xvfb "$2"
e2e_start_wm "$3"
e2e_start_tessix --seed 41 --mute
e2e_wait_window
e2e_wait_menu menu
e2e_client_area
e2e_focus

read -r RX SY <<<"$E2E_RIGHT_PT"
read -r ML MT MR MB <<<"$E2E_RECT_MESSAGE"
read -r L T R B <<<"$E2E_RECT_RIGHT"
# Screen coordinates of the right square's corners.
L=$((E2E_X + L)) R=$((E2E_X + R)) T=$((E2E_Y + T)) B=$((E2E_Y + B))
BAND="$((E2E_X + ML)) $((E2E_Y + MT)) $((MR - ML)) $((MB - MT))"
band_has() { [ "$(e2e_px present $BAND "$1")" = yes ]; }

# The state of the right square in the last screenshot, per side (top-left, top-right,
# bottom-right, bottom-left): DEPTH[k], how far the side's moving vertex has been pushed
# in from where it started (the first outline or fill pixel on the diagonal from the
# corner, 50 pixels in at the start); CROSS[k], the red pixels of the cross-hair spot
# 44 pixels in from that corner (17 when the cross-hair is there); and CYAN, the area.
read_state() {
    local answers
    answers=$(e2e_px \
        first "$L" "$T" 1 1 200 "$E2E_BLUE" "$E2E_CYAN" \
        first "$R" "$T" -1 1 200 "$E2E_BLUE" "$E2E_CYAN" \
        first "$R" "$B" -1 -1 200 "$E2E_BLUE" "$E2E_CYAN" \
        first "$L" "$B" 1 -1 200 "$E2E_BLUE" "$E2E_CYAN" \
        count $((L + 42)) $((T + 42)) 5 5 "$E2E_RED" \
        count $((R - 46)) $((T + 42)) 5 5 "$E2E_RED" \
        count $((R - 46)) $((B - 46)) 5 5 "$E2E_RED" \
        count $((L + 42)) $((B - 46)) 5 5 "$E2E_RED" \
        count "$L" "$T" 336 336 "$E2E_CYAN") || return 1
    local lines
    mapfile -t lines <<<"$answers"
    local k
    for k in 0 1 2 3; do
        [ "${lines[k]}" = none ] && return 1
        DEPTH[k]=$((lines[k] - 50))
        CROSS[k]=${lines[k + 4]}
    done
    CYAN=${lines[8]}
}
DEPTH=(0 0 0 0)
CROSS=(0 0 0 0)
CYAN=0

# e2e_wait_until predicate: the screen shows every side at its expected depth and the
# cross-hair at the expected side only.
WANT_DEPTH=(0 0 0 0)
WANT_SIDE=0
SHOTS=0
state_reached() {
    SHOTS=$((SHOTS + 1))
    e2e_shot "state"
    read_state || return 1
    local k
    for k in 0 1 2 3; do
        ((DEPTH[k] == WANT_DEPTH[k])) || return 1
        if ((k == WANT_SIDE)); then
            ((CROSS[k] == 17)) || return 1
        else
            ((CROSS[k] == 0)) || return 1
        fi
    done
}
expect() {
    WANT_DEPTH=("$1" "$2" "$3" "$4")
    WANT_SIDE=$5
    e2e_wait_until "$E2E_SCREEN_DEADLINE_S" "sides at depths ${WANT_DEPTH[*]} with the cross-hair at side $5 (seen ${DEPTH[*]}, cross-hair pixels ${CROSS[*]})" state_reached
}

problem_shown() {
    e2e_shot problem
    (($(e2e_count_rect "$E2E_RECT_LEFT" "$E2E_ORANGE") > 40000)) || return 1
    read_state && ((CYAN > 80000))
}
e2e_choose_problem 4
e2e_wait_until "$E2E_SCREEN_DEADLINE_S" "problem 4 screen" problem_shown
TARGET=$(e2e_count_rect "$E2E_RECT_LEFT" "$E2E_ORANGE")
TOLERANCE=$((TARGET * E2E_TOLERANCE_PER_MILLE / 1000))
START=$CYAN
e2e_log "orange target $TARGET pixels (tolerance $TOLERANCE), cyan shape $START pixels"
expect 0 0 0 0 0

# The first Down shows the step; then each side in turn, the cross-hair following Space.
e2e_key Down
first_cut() { e2e_shot state && read_state && ((DEPTH[0] > 0)); }
e2e_wait_until "$E2E_SCREEN_DEADLINE_S" "top-left side caved in by Down" first_cut
STEP=${DEPTH[0]}
((STEP >= 3 && STEP <= 5)) || e2e_fail "Down moved the top-left vertex $STEP pixels in"
expect "$STEP" 0 0 0 0
cut=$((START - CYAN))
((cut > 80 * STEP && cut < 120 * STEP)) ||
    e2e_fail "one Down press of step $STEP cut $cut pixels, not about $((100 * STEP))"
e2e_key space
expect "$STEP" 0 0 0 1
e2e_key Down
expect "$STEP" "$STEP" 0 0 1
e2e_key space
expect "$STEP" "$STEP" 0 0 2
e2e_key Down
expect "$STEP" "$STEP" "$STEP" 0 2
e2e_key space
expect "$STEP" "$STEP" "$STEP" 0 3
e2e_key Down
expect "$STEP" "$STEP" "$STEP" "$STEP" 3
e2e_key space
expect "$STEP" "$STEP" "$STEP" "$STEP" 0
ROUND=$((START - CYAN))
ROUNDS=1
e2e_log "step $STEP: one round of the four sides cuts $ROUND pixels; cyan $CYAN"

# rounds N: caves every side in N more times, a round at a time, and waits for the result.
rounds() {
    local n=$1 keys=() i
    for ((i = 0; i < n; i++)); do
        keys+=(Down space Down space Down space Down space)
    done
    e2e_key "${keys[@]}"
    ROUNDS=$((ROUNDS + n))
    local d=$((ROUNDS * STEP))
    expect "$d" "$d" "$d" "$d" 0
    e2e_log "$ROUNDS rounds: cyan $CYAN pixels, $((CYAN - TARGET)) from the target"
}

# All but the last round or two at once, as far as the first round's cut predicts; then
# one round at a time until the shape is no longer too big.
ahead=$(((START - TARGET) / ROUND - 2))
((ahead > 0)) && rounds "$ahead"
while ((CYAN - TARGET >= TOLERANCE)); do
    ((ROUNDS * STEP < 118)) || e2e_fail "the vertices reached the centre with the shape still too big"
    rounds 1
done
diff=$((CYAN > TARGET ? CYAN - TARGET : TARGET - CYAN))
((diff < TOLERANCE)) || e2e_fail "the shape went from too big to too small ($CYAN against $TARGET)"

# Any click in the right square judges the shape.
e2e_shot shaped
e2e_click "$RX" "$SY"
verdict_shown() { e2e_shot verdict && band_has "$E2E_RIGHT"; }
e2e_wait_until "$E2E_SCREEN_DEADLINE_S" "right verdict in the message band" verdict_shown
! band_has "$E2E_WRONG" || e2e_fail "the wrong answer's grey in the message band"
! band_has 0,0,0 || e2e_fail "the prompt is still in the message band"
e2e_wait_menu after
e2e_app_alive || e2e_fail "the program ended"
e2e_log "PASS after $SHOTS state screenshots; screenshots in $E2E_OUT"
