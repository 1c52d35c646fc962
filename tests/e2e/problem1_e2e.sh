#!/bin/bash
# SPDX-License-Identifier: MIT
# Problem 1, "Which Shape Is Bigger", played on the real program: the blue triangle and
# the red circle sit in their squares where the layout puts them, a right click swaps
# the circle's colour and a second one swaps it back, the smaller shape is judged wrong
# in grey with no score shown, the bigger one right with "CORRECT for 100 POINTS!" in
# its colour, and the menu then shows the score.
#
#   problem1_e2e.sh TESSIX DISPLAY_NUMBER WM OUT_DIR
#
# Which shape is bigger is read from the screenshot by counting blue and red pixels.
set -u
source "$(dirname "$0")/lib/common.sh"

e2e_setup "problem1-$3" "$1" "$4"
e2e_start_xvfb "$2"
e2e_start_wm "$3"
e2e_start_tessix --seed 11 --mute
e2e_wait_window
e2e_wait_menu menu
e2e_client_area
e2e_focus

read -r LX SY <<<"$E2E_LEFT_PT"
read -r RX _ <<<"$E2E_RIGHT_PT"
read -r LL LT LR LB <<<"$E2E_RECT_LEFT"
read -r RL RT _ _ <<<"$E2E_RECT_RIGHT"
read -r ML MT MR MB <<<"$E2E_RECT_MESSAGE"

# Pixels of a colour in the left and right squares, and the message band's colours.
left_count() { e2e_count_rect "$E2E_RECT_LEFT" "$1"; }
right_count() { e2e_count_rect "$E2E_RECT_RIGHT" "$1"; }
band_has() { [ "$(e2e_px present $((E2E_X + ML)) $((E2E_Y + MT)) $((MR - ML)) $((MB - MT)) "$1")" = yes ]; }
score_shown() {
    local l t r b
    read -r l t r b <<<"$E2E_RECT_SCORE"
    [ "$(e2e_px present $((E2E_X + l)) $((E2E_Y + t)) $((r - l)) $((b - t)) "$E2E_SCORE")" = yes ]
}

# The problem screen: a blue triangle on the left, a red circle on the right.
problem_shown() {
    e2e_shot "$1"
    (($(left_count "$E2E_BLUE") > 40000 && $(right_count "$E2E_RED") > 40000))
}

# Plays one presentation; $1 is "right" or "wrong", $2 the screenshot names' prefix.
play() {
    local want=$1 tag=$2
    e2e_choose_problem 1
    e2e_wait_until "$E2E_SCREEN_DEADLINE_S" "problem 1 screen" problem_shown "$tag-problem"
    local blue red
    blue=$(left_count "$E2E_BLUE")
    red=$(right_count "$E2E_RED")
    e2e_log "$tag: blue triangle $blue pixels, red circle $red pixels"

    # Where the layout puts them: the triangle's base is the square's bottom edge and its
    # apex 12 pixels below the top edge's middle (its outline runs through its corners, so
    # it covers the corner pixels on the square's right and bottom edges); the circle is
    # centred in its square.
    local bbox
    bbox=$(e2e_px bbox $((E2E_X + LL - 20)) $((E2E_Y + LT - 20)) 376 376 "$E2E_BLUE")
    [ "$bbox" = "$((E2E_X + LL)) $((E2E_Y + LT + 12)) $((E2E_X + LR + 1)) $((E2E_Y + LB + 1))" ] ||
        e2e_fail "$tag: blue triangle at $bbox on the screen, square $E2E_RECT_LEFT in the client area"
    local cl ct cr cb
    read -r cl ct cr cb <<<"$(e2e_px bbox $((E2E_X + RL - 20)) $((E2E_Y + RT - 20)) 376 376 "$E2E_RED")"
    ((cr - cl == cb - ct && cr - cl >= 244 && cr - cl <= 280)) ||
        e2e_fail "$tag: red circle's box $cl $ct $cr $cb is not a circle of the problem's sizes"
    ((cl + cr == 2 * (E2E_X + RX) && ct + cb == 2 * (E2E_Y + SY))) ||
        e2e_fail "$tag: red circle's box $cl $ct $cr $cb is not centred on its square"
    ((blue != red)) || e2e_fail "$tag: the shapes have the same area; choose another seed"

    # A right click swaps the circle to blue, pixel for pixel; a second one back to red.
    e2e_click "$RX" "$SY" 3
    circle_blue() { e2e_shot "$tag-circle-blue" && (($(right_count "$E2E_BLUE") == red)); }
    e2e_wait_until "$E2E_SCREEN_DEADLINE_S" "blue circle after a right click" circle_blue
    (($(right_count "$E2E_RED") == 0)) || e2e_fail "$tag: red left in the swapped circle"
    (($(left_count "$E2E_BLUE") == blue)) || e2e_fail "$tag: the triangle changed with the circle"
    e2e_click "$RX" "$SY" 3
    circle_red() { e2e_shot "$tag-circle-red" && (($(right_count "$E2E_RED") == red)); }
    e2e_wait_until "$E2E_SCREEN_DEADLINE_S" "red circle after a second right click" circle_red
    (($(right_count "$E2E_BLUE") == 0)) || e2e_fail "$tag: blue left in the circle swapped back"

    # The answer: the bigger or the smaller shape, clicked in its square.
    local bigger_x=$LX smaller_x=$RX
    ((red > blue)) && { bigger_x=$RX; smaller_x=$LX; }
    local colour=$E2E_RIGHT other=$E2E_WRONG x=$bigger_x
    [ "$want" = wrong ] && { colour=$E2E_WRONG; other=$E2E_RIGHT; x=$smaller_x; }
    e2e_click "$x" "$SY"
    verdict_shown() { e2e_shot "$tag-verdict" && band_has "$colour"; }
    e2e_wait_until "$E2E_SCREEN_DEADLINE_S" "$want verdict in the message band" verdict_shown
    # The verdict replaces the prompt (no black text left) on one line centred across the
    # band, in front of the problem's shapes.
    ! band_has "$other" || e2e_fail "$tag: both verdict colours in the message band"
    ! band_has 0,0,0 || e2e_fail "$tag: the prompt is still in the message band"
    local vl vt vr vb
    read -r vl vt vr vb <<<"$(e2e_px bbox $((E2E_X + ML)) $((E2E_Y + MT)) $((MR - ML)) $((MB - MT)) "$colour")"
    local middle=$((2 * E2E_X + E2E_W))
    ((vl + vr >= middle - 12 && vl + vr <= middle + 12)) ||
        e2e_fail "$tag: verdict at columns $vl..$vr is not centred on the window"
    ((vb - vt < (MB - MT) && vr - vl > 200)) ||
        e2e_fail "$tag: verdict $vl $vt $vr $vb is not one wide line"
    (($(left_count "$E2E_BLUE") == blue && $(right_count "$E2E_RED") == red)) ||
        e2e_fail "$tag: the shapes are not behind the verdict"

    e2e_log "$tag: verdict shown"
    e2e_wait_menu "$tag-menu"
    e2e_log "$tag: menu back"
}

# A wrong first answer: no points, so no score boxes on the menu.
play wrong first
! score_shown || e2e_fail "a score is shown after a wrong answer only"
# A right answer: 100 points, and the score on the menu.
play right second
score_shown || e2e_fail "no score in the score box after a right answer"
[ "$(e2e_count_rect "$E2E_RECT_SCORE" "$E2E_SCORE")" -gt 30 ] || e2e_fail "the score is too small to read"
e2e_app_alive || e2e_fail "the program ended"
e2e_log "PASS; screenshots in $E2E_OUT"
