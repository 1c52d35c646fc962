#!/bin/bash
# SPDX-License-Identifier: MIT
# Makes the screenshots the AppStream metainfo and the README show: the menu and each of
# the four problems, taken from the real program on an Xvfb of 1280x720 with no window
# manager (so the window is the whole screen), with a fixed seed, so that every release
# can make them again alike.
#
#   tools/screenshots.sh TESSIX [OUT_DIR]
#     TESSIX   the program (for example build/tessix)
#     OUT_DIR  where menu.png and problem1.png to problem4.png go (default res/screenshots)
#
# The run: the menu; problem 1 as drawn; problem 2 after three Up presses; problem 4 with
# three of its sides caved in; problem 3 as drawn. Each problem but the last is answered to
# get back to the menu; sound is off. The PNGs are stripped of ImageMagick's dates, so an
# unchanged program gives the same files. Needs what the end-to-end tests need (Xvfb,
# xdotool, ImageMagick) and the rules file the build writes beside the program (target
# tessix_rules, in a build with its tests).
set -u
readonly HERE=$(cd "$(dirname "$0")" && pwd)
[ $# -ge 1 ] || { sed -n '8,10p' "$0" >&2; exit 2; }
readonly TESSIX=$(cd "$(dirname "$1")" && pwd)/$(basename "$1")
readonly DEST=${2:-$HERE/../res/screenshots}
readonly WORK=$(mktemp -d)
readonly SEED=2024

export E2E_SCREEN_SIZE=1280x720
# The game's colours and layout rules, which the build writes for the end-to-end scripts
# (target tessix_rules, in the tests of the program's build folder).
export E2E_RULES=${E2E_RULES:-$(dirname "$TESSIX")/tests/rules.sh}
[ -f "$E2E_RULES" ] || { echo "$0: no $E2E_RULES: build the tessix_rules target there" >&2; exit 2; }
source "$HERE/../tests/e2e/lib/common.sh"
e2e_setup screenshots "$TESSIX" "$WORK"
trap 'e2e_cleanup; rm -rf "$WORK"' EXIT
mkdir -p "$DEST" || e2e_fail "cannot create $DEST"

# keep NAME: the screen as it stands, once two screenshots in a row agree, as DEST/NAME.png.
keep() {
    local before=
    for _ in $(seq 1 25); do
        e2e_shot "$1"
        local sum
        sum=$(convert "$E2E_SHOT" rgb:- | md5sum)
        [ "$sum" = "$before" ] && break
        before=$sum
        sleep 0.2
    done
    convert "$E2E_SHOT" -strip -define png:exclude-chunks=date,time "$DEST/$1.png" ||
        e2e_fail "cannot write $DEST/$1.png"
    e2e_log "$DEST/$1.png"
}

# open_problem P: chooses problem P from the menu and waits for its screen.
open_problem() {
    e2e_choose_problem "$1"
    off_menu() { e2e_shot problem && [ -n "$(e2e_missing_menu_colours)" ]; }
    e2e_wait_until "$E2E_SCREEN_DEADLINE_S" "problem $1" off_menu
}

# answer X Y: clicks the client point and waits for the menu to come back.
answer() {
    e2e_click "$1" "$2"
    e2e_wait_menu
}

e2e_start_xvfb 90
e2e_start_tessix --seed "$SEED" --mute
e2e_wait_window
e2e_wait_menu
e2e_client_area
e2e_focus
read -r LX LY <<<"$E2E_LEFT_PT"
read -r RX RY <<<"$E2E_RIGHT_PT"

keep menu
open_problem 1
keep problem1
answer "$LX" "$LY"
open_problem 2
e2e_key Up Up Up
keep problem2
answer "$RX" "$RY"
open_problem 4
e2e_key Down Down space Down space space Down Down
keep problem4
answer "$RX" "$RY"
open_problem 3
keep problem3
