#!/bin/bash
# SPDX-License-Identifier: MIT
# Problem 3, "Find The Center", played on the real program: the green shape carries a
# grid of twelve red dots, one of which sits on the shape's centre of area as the
# screenshot's green pixels give it (the column and the row that split them in half).
# A click on the green shape away from the centre is ignored; a click on the centre dot
# is judged right. In a second presentation a click on the dot farthest from the centre
# is judged wrong: the wrong answer's grey in the message band and a blue H on the
# centre dot (its middle column's top and bottom pixels stay red).
#
#   problem3_e2e.sh TESSIX DISPLAY_NUMBER WM OUT_DIR
set -u
source "$(dirname "$0")/lib/common.sh"

e2e_setup "problem3-$3" "$1" "$4"
e2e_start_xvfb "$2"
e2e_start_wm "$3"
e2e_start_tessix --seed 37 --mute
e2e_wait_window
e2e_wait_menu menu
e2e_client_area
e2e_focus

read -r BL BT BR BB <<<"$E2E_RECT_BOTH"
read -r ML MT MR MB <<<"$E2E_RECT_MESSAGE"
# Screen rectangles (X Y W H): the shapes' span, and around it where the dots may lie.
BOTH="$((E2E_X + BL)) $((E2E_Y + BT)) $((BR - BL)) $((BB - BT))"
AROUND="$((E2E_X + BL - 40)) $((E2E_Y + BT - 40)) $((BR - BL + 80)) $((BB - BT + 80))"
BAND="$((E2E_X + ML)) $((E2E_Y + MT)) $((MR - ML)) $((MB - MT))"

band_has() { [ "$(e2e_px present $BAND "$1")" = yes ]; }
score_shown() {
    local l t r b
    read -r l t r b <<<"$E2E_RECT_SCORE"
    [ "$(e2e_px present $((E2E_X + l)) $((E2E_Y + t)) $((r - l)) $((b - t)) "$E2E_SCORE")" = yes ]
}

# The problem screen: a green shape and twelve 3-by-3 red dots. Sets DOTS ("X Y" screen
# centres, one a line).
problem_shown() {
    e2e_shot "$1"
    (($(e2e_px count $BOTH "$E2E_GREEN") > 20000)) || return 1
    DOTS=$(e2e_px blobs $AROUND "$E2E_RED") || return 1
    [ "$(awk '$3 == 9' <<<"$DOTS" | wc -l)" -eq 12 ] && [ "$(wc -l <<<"$DOTS")" -eq 12 ]
}

# Finds the centre of area of the green pixels and the dot on it; sets CX CY (screen),
# NEAR_X NEAR_Y and FAR_X FAR_Y (screen centres of the nearest and the farthest dot).
locate() {
    local tag=$1 n
    read -r CX CY n <<<"$(e2e_px centre $BOTH "$E2E_GREEN")"
    local best=-1 worst=-1 x y d
    while read -r x y _; do
        d=$(((x - CX) * (x - CX) + (y - CY) * (y - CY)))
        if ((best < 0 || d < best)); then best=$d; NEAR_X=$x; NEAR_Y=$y; fi
        if ((d > worst)); then worst=$d; FAR_X=$x; FAR_Y=$y; fi
    done <<<"$DOTS"
    e2e_log "$tag: $n green pixels, centre of area $CX,$CY; nearest dot $NEAR_X,$NEAR_Y; farthest $FAR_X,$FAR_Y"
    # The grid: four columns and three rows, 15 pixels apart.
    local xs ys
    xs=$(awk '{print $1}' <<<"$DOTS" | sort -n | uniq | tr '\n' ' ')
    ys=$(awk '{print $2}' <<<"$DOTS" | sort -n | uniq | tr '\n' ' ')
    read -r x0 x1 x2 x3 x4 <<<"$xs"
    read -r y0 y1 y2 y3 <<<"$ys"
    [ -z "${x4:-}" ] && [ -z "${y3:-}" ] && ((x1 - x0 == 15 && x2 - x1 == 15 && x3 - x2 == 15 &&
        y1 - y0 == 15 && y2 - y1 == 15)) || e2e_fail "$tag: the dots are not a 4 by 3 grid 15 apart: columns $xs rows $ys"
    # The screenshot's centre (green hidden under the dots aside) is the game's.
    ((NEAR_X - CX <= 2 && CX - NEAR_X <= 2 && NEAR_Y - CY <= 2 && CY - NEAR_Y <= 2)) ||
        e2e_fail "$tag: no dot within 2 pixels of the centre of area $CX,$CY"
}

# First presentation: a click on the green shape is ignored, the centre dot is right.
e2e_choose_problem 3
e2e_wait_until "$E2E_SCREEN_DEADLINE_S" "problem 3 screen" problem_shown first-problem
locate first
read -r GX GY <<<"$(e2e_px solid $BOTH "$E2E_GREEN" 4)"
[ "$GX" != none ] || e2e_fail "no green pixel clear of the dots"
e2e_click $((GX - E2E_X)) $((GY - E2E_Y))
e2e_log "clicked the green shape at $GX,$GY"
# Were that click an answer, the verdict and its pause would swallow the next click and
# no right verdict would come.
e2e_click $((NEAR_X - E2E_X)) $((NEAR_Y - E2E_Y))
right_shown() { e2e_shot first-verdict && band_has "$E2E_RIGHT"; }
e2e_wait_until "$E2E_SCREEN_DEADLINE_S" "right verdict for the centre dot" right_shown
! band_has "$E2E_WRONG" || e2e_fail "the wrong answer's grey in the band after the centre dot"
[ "$(e2e_px count $AROUND "$E2E_BLUE")" -eq 0 ] || e2e_fail "a blue centre mark after a right answer"
e2e_wait_menu first-menu
score_shown || e2e_fail "no score on the menu after a right answer"

# Second presentation: the farthest dot is wrong, and the centre is marked.
e2e_choose_problem 3
e2e_wait_until "$E2E_SCREEN_DEADLINE_S" "problem 3 screen again" problem_shown second-problem
locate second
e2e_click $((FAR_X - E2E_X)) $((FAR_Y - E2E_Y))
wrong_shown() { e2e_shot second-verdict && band_has "$E2E_WRONG"; }
e2e_wait_until "$E2E_SCREEN_DEADLINE_S" "wrong verdict for the farthest dot" wrong_shown
! band_has "$E2E_RIGHT" || e2e_fail "the right answer's colour in the band after a wrong dot"
# The blue H: seven blue pixels of the centre dot; the two above and below its middle red.
mark=$(e2e_px count $((NEAR_X - 1)) $((NEAR_Y - 1)) 3 3 "$E2E_BLUE" \
    pixel "$NEAR_X" $((NEAR_Y - 1)) pixel "$NEAR_X" $((NEAR_Y + 1)) pixel "$NEAR_X" "$NEAR_Y" \
    count $AROUND "$E2E_BLUE")
[ "$(tr '\n' ' ' <<<"$mark")" = "7 $E2E_RED $E2E_RED $E2E_BLUE 7 " ] ||
    e2e_fail "no blue H on the centre dot at $NEAR_X,$NEAR_Y: $(tr '\n' ' ' <<<"$mark")"
e2e_wait_menu second-menu
e2e_app_alive || e2e_fail "the program ended"
e2e_log "PASS; screenshots in $E2E_OUT"
