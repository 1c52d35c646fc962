#!/bin/bash
# SPDX-License-Identifier: MIT
# A whole game on the real program, played as a player plays it: under Xvfb and openbox,
# driven only with xdotool and read only from screenshots and the caption.
#
#   whole_game.sh TESSIX DISPLAY_NUMBER OUT_DIR
#
# Every problem is chosen five times, in an order that exhausts problem 1 first so that
# the menu closes up; the second and fourth presentation of each problem are answered
# wrong, the others right. Answers are decided from the pixels on screen:
#   1  the bigger of the blue triangle and the red circle by their pixel counts;
#   2  Up and Down until the magenta circle's count is within 1.5 % of the yellow
#      triangle's (or a click at once, when the circle starts too small);
#   3  the red dot nearest to the point that halves the green pixels by columns and by
#      rows (or the farthest dot);
#   4  all four sides caved in equally until the cyan count is within the tolerance of
#      the orange count (or a click at once on the untouched, too big shape).
# Each verdict is checked by its colour in the message band, each return to the menu by
# the entries still open in their slots, and the score box by whether points were won.
# After the twentieth answer: the game-over line, F2's list with one score above its
# closing line, Home's fresh menu, Ctrl+P through the print dialog into a PDF that holds
# the instructions, and File > Exit with status 0.
#
# The program runs under /usr/bin/time -v; its peak resident memory is left in
# OUT_DIR/whole-game-peak-rss.txt. Screenshots and logs stay in OUT_DIR. With
# TESSIX_GAME_WRAPPER set the program runs under that command instead (tools/leak-check.sh
# runs the game under valgrind so).
set -u
source "$(dirname "$0")/../e2e/lib/common.sh"
readonly GAMEPIX="$(cd "$(dirname "$0")" && pwd)/gamepix.py"

[ $# -eq 3 ] || { echo "usage: $0 TESSIX DISPLAY_NUMBER OUT_DIR" >&2; exit 2; }
e2e_setup whole-game "$1" "$3"
for tool in pdftotext /usr/bin/time; do
    command -v "$tool" >/dev/null || e2e_fail "$tool is not installed"
done

readonly SEED=4242
# The problem chosen at each of the twenty presentations.
readonly ORDER=(1 1 2 3 1 4 2 1 3 4 1 2 3 4 2 3 4 2 3 4)
readonly HELP_TEXT=$E2E_HELP
# The face of the program's message boxes and dialogs.
readonly BOX_FACE=239,239,239
readonly GAME_OVER=$E2E_GAME_OVER
readonly TIME_LOG="$E2E_OUT/whole-game-time.log"
readonly RSS_FILE="$E2E_OUT/whole-game-peak-rss.txt"
readonly PDF="$E2E_OUT/whole-game-instructions.pdf"
rm -f "$TIME_LOG" "$RSS_FILE" "$PDF"

PLAYS=(0 0 0 0)
TALLY=0
RIGHT_ANSWERS=0
STEP=0

# "X Y W H" on the screen of a client rectangle "LEFT TOP RIGHT BOTTOM".
scr() {
    local l t r b
    read -r l t r b <<<"$1"
    echo "$((E2E_X + l)) $((E2E_Y + t)) $((r - l)) $((b - t))"
}
CLIENT=
# px QUERY...: pixels.py on the last screenshot; the answers in the array PX.
px() {
    mapfile -t PX < <(e2e_px "$@") || true
}

# The program runs as the child of /usr/bin/time, which reports its peak memory; or, with
# TESSIX_GAME_WRAPPER set (a command and its options, such as valgrind's), under that
# command, which must run the program in its own process.
start_game() {
    local wrapper=()
    read -r -a wrapper <<<"${TESSIX_GAME_WRAPPER:-}"
    if ((${#wrapper[@]} > 0)); then
        env -u WAYLAND_DISPLAY -u DBUS_SESSION_BUS_ADDRESS SDL_AUDIODRIVER=dummy \
            QT_QPA_PLATFORM=xcb "${wrapper[@]}" "$E2E_TESSIX" --seed "$SEED" --mute \
            >"$E2E_OUT/$E2E_NAME-tessix.log" 2>&1 &
        TIME_PID=$!
        E2E_APP=$TIME_PID
        E2E_PIDS+=("$E2E_APP")
        e2e_log "started $(basename "$E2E_TESSIX") --seed $SEED --mute as $E2E_APP under ${wrapper[0]}"
        return
    fi
    env -u WAYLAND_DISPLAY -u DBUS_SESSION_BUS_ADDRESS SDL_AUDIODRIVER=dummy QT_QPA_PLATFORM=xcb \
        /usr/bin/time -v -o "$TIME_LOG" "$E2E_TESSIX" --seed "$SEED" --mute \
        >"$E2E_OUT/$E2E_NAME-tessix.log" 2>&1 &
    TIME_PID=$!
    E2E_PIDS+=("$TIME_PID")
    E2E_APP=
    started() {
        kill -0 "$TIME_PID" 2>/dev/null || e2e_fail "/usr/bin/time ended before starting the program"
        [ -n "$(pgrep -P "$TIME_PID")" ]
    }
    e2e_wait_until "$E2E_START_DEADLINE_S" "start of the program" started
    E2E_APP=$(pgrep -P "$TIME_PID" | head -n 1)
    e2e_log "started $(basename "$E2E_TESSIX") --seed $SEED --mute as $E2E_APP under /usr/bin/time"
}

# A window of the program besides its main window is showing (the File menu's drop-down,
# when no dialog is open; Qt does not always give a drop-down its menu type).
other_window() {
    local w
    for w in $(xdotool search --onlyvisible --pid "$E2E_APP" 2>/dev/null); do
        [ "$w" != "$E2E_WID" ] && return 0
    done
    return 1
}

# focus_on WINDOW WHAT: gives WINDOW the keyboard focus and waits until it has it, so that
# the keys sent next reach it and not the window that had the focus before.
has_focus() {
    [ "$(xdotool getwindowfocus 2>/dev/null)" = "$1" ] || {
        timeout "$(e2e_scaled 5)" xdotool windowactivate "$1" >/dev/null 2>&1
        E2E_WHY="the focus is on window $(xdotool getwindowfocus 2>/dev/null)"
        return 1
    }
}
focus_on() {
    e2e_wait_until 30 "keyboard focus on the $2" has_focus "$1"
}

# Proves that every key sent so far has been handled: F1's instructions box opens only
# once the keys before it have been handled, one after the other. Return closes it, and
# the window system's repaint then redraws the screen from the game's state.
instructions_box() {
    BOX=$(xdotool search --all --onlyvisible --pid "$E2E_APP" --name '^Tessix$' 2>/dev/null |
        head -n 1)
    [ -n "$BOX" ]
}
no_instructions_box() { ! instructions_box; }
keys_handled() {
    e2e_key F1
    e2e_wait_until "$E2E_SCREEN_DEADLINE_S" "instructions box opened after the keys sent before it" \
        instructions_box
    focus_on "$BOX" "instructions box"
    e2e_key Return
    e2e_wait_until "$E2E_SCREEN_DEADLINE_S" "instructions box closed with Return" no_instructions_box
    focus_on "$E2E_WID" "main window"
}

# ---------------------------------------------------------------------------------------
# The menu

# The slot in which problem P's entry is drawn now: the open problems close up from the
# top in problem order; -1 when P is exhausted.
slot_of() {
    local p=$1 q k=0
    ((PLAYS[p - 1] >= 5)) && { echo -1; return; }
    for ((q = 1; q < p; q++)); do
        ((PLAYS[q - 1] < 5)) && k=$((k + 1))
    done
    echo "$k"
}
all_played() {
    local p
    for p in 1 2 3 4; do ((PLAYS[p - 1] >= 5)) || return 1; done
    return 0
}

# The menu as the counts and the tally make it: the open entries in their slots, the
# exhausted ones gone, the help text, the game-over line when all are played, and the
# score box exactly when points have been won. No verdict colours are left.
menu_as_expected() {
    e2e_shot "$1"
    local queries=(present $CLIENT "$E2E_TITLE" present $(scr "$E2E_RECT_MESSAGE") "$HELP_TEXT"
        present $(scr "$E2E_RECT_SCORE") "$E2E_SCORE" present $CLIENT "$GAME_OVER"
        present $(scr "${E2E_SLOT[1]}") "$GAME_OVER"
        present $CLIENT "$E2E_RIGHT" present $CLIENT "$E2E_WRONG")
    local p slot
    for p in 1 2 3 4; do
        slot=$(slot_of "$p")
        if ((slot >= 0)); then
            queries+=(present $(scr "${E2E_SLOT[slot]}") "${E2E_ENTRY[p - 1]}")
        else
            queries+=(present $CLIENT "${E2E_ENTRY[p - 1]}")
        fi
    done
    px "${queries[@]}"
    ((${#PX[@]} == 11)) || { E2E_WHY="pixel queries failed"; return 1; }
    [ "${PX[0]}" = yes ] || { E2E_WHY="no title"; return 1; }
    [ "${PX[1]}" = yes ] || { E2E_WHY="no help text"; return 1; }
    [ "${PX[5]}" = no ] || { E2E_WHY="a right verdict is still on screen"; return 1; }
    [ "${PX[6]}" = no ] || { E2E_WHY="a wrong verdict is still on screen"; return 1; }
    for p in 1 2 3 4; do
        slot=$(slot_of "$p")
        if ((slot >= 0)); then
            [ "${PX[6 + p]}" = yes ] || { E2E_WHY="entry $p not in slot $slot"; return 1; }
        else
            [ "${PX[6 + p]}" = no ] || { E2E_WHY="exhausted entry $p still drawn"; return 1; }
        fi
    done
    if all_played; then
        [ "${PX[4]}" = yes ] || { E2E_WHY="no game-over line in the second slot"; return 1; }
    else
        [ "${PX[3]}" = no ] || { E2E_WHY="a game-over line before the game is over"; return 1; }
    fi
    if ((TALLY > 0)); then
        [ "${PX[2]}" = yes ] || { E2E_WHY="no score shown with $TALLY points won"; return 1; }
    else
        [ "${PX[2]}" = no ] || { E2E_WHY="a score shown with no points won"; return 1; }
    fi
    return 0
}
wait_menu() {
    e2e_wait_until "$E2E_SCREEN_DEADLINE_S" "menu as expected" menu_as_expected "$1"
}

# The score box cannot be read, but its picture can be compared: it stays the same while
# the tally does (no points for a wrong answer), every tally has a picture of its own (a
# right answer adds points), and a tally of more digits is drawn wider.
declare -A SCORE_PICTURE=()
declare -A SCORE_OF_PICTURE=()
SCORE_WIDTHS=()
check_score_box() {
    ((TALLY > 0)) || return 0
    local answers
    mapfile -t answers < <(python3 "$GAMEPIX" "$E2E_SHOT" digest $(scr "$E2E_RECT_SCORE") \
        text_lines $(scr "$E2E_RECT_SCORE"))
    ((${#answers[@]} == 2)) && [ "${answers[1]}" != none ] ||
        e2e_fail "$1: the score box does not hold one line of text (${answers[*]})"
    local picture=${answers[0]} left right
    read -r _ _ left right <<<"${answers[1]}"
    if [ -n "${SCORE_PICTURE[$TALLY]:-}" ] && [ "${SCORE_PICTURE[$TALLY]}" != "$picture" ]; then
        e2e_fail "$1: the score box changed although the tally stayed $TALLY"
    fi
    if [ -n "${SCORE_OF_PICTURE[$picture]:-}" ] && [ "${SCORE_OF_PICTURE[$picture]}" != "$TALLY" ]; then
        e2e_fail "$1: the score box looks the same for $TALLY as for ${SCORE_OF_PICTURE[$picture]} points"
    fi
    SCORE_PICTURE[$TALLY]=$picture
    SCORE_OF_PICTURE[$picture]=$TALLY
    SCORE_WIDTHS+=("${#TALLY} $((right - left))")
}
check_score_widths() {
    local entry digits width widest=() narrowest=()
    for entry in "${SCORE_WIDTHS[@]}"; do
        read -r digits width <<<"$entry"
        ((width > ${widest[digits]:-0})) && widest[digits]=$width
        ((width < ${narrowest[digits]:-99999})) && narrowest[digits]=$width
    done
    for digits in "${!widest[@]}"; do
        [ -n "${narrowest[digits + 1]:-}" ] || continue
        ((widest[digits] < narrowest[digits + 1])) ||
            e2e_fail "a score of $digits digits was drawn ${widest[digits]} pixels wide, one of $((digits + 1)) only ${narrowest[digits + 1]}"
        e2e_log "scores of $digits digits at most ${widest[digits]} pixels wide, of $((digits + 1)) at least ${narrowest[digits + 1]}"
    done
}

choose() {
    local p=$1 slot l t r b
    slot=$(slot_of "$p")
    ((slot >= 0)) || e2e_fail "problem $p chosen after its five presentations"
    read -r l t r b <<<"${E2E_SLOT[slot]}"
    e2e_click $((l + 12 * E2E_UX)) $(((t + b) / 2))
}

# ---------------------------------------------------------------------------------------
# Verdicts

EXPECT=
EXPECT_POINTS=0
# The verdict replaces the prompt: once no black text is left in the message band, the
# band holds the expected verdict's colour and never the other one. (The prompt's
# antialiased edges may hold the grey of a wrong verdict, so it must be gone first.)
band_shows() {
    e2e_shot "$1"
    local want=$E2E_WRONG other=$E2E_RIGHT
    [ "$EXPECT" = right ] && { want=$E2E_RIGHT; other=$E2E_WRONG; }
    local band
    band=$(scr "$E2E_RECT_MESSAGE")
    px present $band 0,0,0 present $band "$want" present $band "$other"
    [ "${PX[0]:-}" = no ] || { E2E_WHY="the prompt is still in the message band"; return 1; }
    [ "${PX[2]:-}" = no ] || e2e_fail "$1: the verdict is the opposite of the expected $EXPECT answer"
    [ "${PX[1]:-}" = yes ] || { E2E_WHY="no $EXPECT verdict in the message band"; return 1; }
}
verdict() {
    e2e_wait_until "$E2E_SCREEN_DEADLINE_S" "$EXPECT verdict" band_shows "$1-verdict"
    if [ "$EXPECT" = right ]; then
        TALLY=$((TALLY + EXPECT_POINTS))
        RIGHT_ANSWERS=$((RIGHT_ANSWERS + 1))
    fi
    e2e_log "$1: $EXPECT answer, ${EXPECT_POINTS} points; tally $TALLY"
}

# ---------------------------------------------------------------------------------------
# The four problems. Each plays one presentation; $1 is right or wrong, $2 the name.

P1_BLUE=0
P1_RED=0
problem1_shown() {
    e2e_shot "$1"
    px count $(scr "$E2E_RECT_LEFT") "$E2E_BLUE" count $(scr "$E2E_RECT_RIGHT") "$E2E_RED"
    P1_BLUE=${PX[0]:-0}
    P1_RED=${PX[1]:-0}
    E2E_WHY="blue $P1_BLUE, red $P1_RED"
    ((P1_BLUE > 40000 && P1_RED > 40000))
}
play1() {
    local want=$1 tag=$2
    e2e_wait_until "$E2E_SCREEN_DEADLINE_S" "problem 1 screen" problem1_shown "$tag-problem"
    local lx rx sy
    read -r lx sy <<<"$E2E_LEFT_PT"
    read -r rx _ <<<"$E2E_RIGHT_PT"
    local bigger=$lx smaller=$rx
    ((P1_RED > P1_BLUE)) && { bigger=$rx; smaller=$lx; }
    e2e_log "$tag: blue triangle $P1_BLUE, red circle $P1_RED"
    EXPECT_POINTS=0
    if [ "$want" = right ] && ((P1_BLUE != P1_RED)); then
        EXPECT=right
        EXPECT_POINTS=${E2E_POINTS[0]}
        e2e_click "$bigger" "$sy"
    else
        # Equal counts make either click wrong.
        EXPECT=wrong
        e2e_click "$smaller" "$sy"
    fi
    verdict "$tag"
}

P2_YELLOW=0
P2_MAGENTA=0
problem2_counts() {
    e2e_shot "$1"
    px count $(scr "$E2E_RECT_LEFT") "$E2E_YELLOW" count $(scr "$E2E_RECT_RIGHT") "$E2E_MAGENTA"
    P2_YELLOW=${PX[0]:-0}
    P2_MAGENTA=${PX[1]:-0}
    E2E_WHY="yellow $P2_YELLOW, magenta $P2_MAGENTA"
}
problem2_shown() {
    problem2_counts "$1"
    ((P2_YELLOW > 40000 && P2_MAGENTA > 40000))
}
magenta_changed_from() {
    problem2_counts "$2"
    ((P2_MAGENTA > 0 && P2_MAGENTA != $1))
}
ratio() { echo $((P2_YELLOW * E2E_RATIO_SCALE / P2_MAGENTA)); }
play2() {
    local want=$1 tag=$2 r presses=0
    e2e_wait_until "$E2E_SCREEN_DEADLINE_S" "problem 2 screen" problem2_shown "$tag-problem"
    r=$(ratio)
    e2e_log "$tag: yellow triangle $P2_YELLOW, magenta circle $P2_MAGENTA, ratio $r"
    ((r > E2E_EQUAL_BAND_HIGH)) || e2e_fail "$tag: the circle does not start smaller than the triangle (ratio $r)"
    if [ "$want" = right ]; then
        while ((r < E2E_EQUAL_BAND_LOW || r > E2E_EQUAL_BAND_HIGH)); do
            ((presses < 30)) || e2e_fail "$tag: no circle size within the tolerance after $presses presses"
            local before=$P2_MAGENTA key=Down
            ((r > E2E_EQUAL_BAND_HIGH)) && key=Up
            e2e_key "$key"
            presses=$((presses + 1))
            e2e_wait_until "$E2E_SCREEN_DEADLINE_S" "circle resized by $key" \
                magenta_changed_from "$before" "$tag-resize"
            r=$(ratio)
            # One press changes the circle by about 1.5 % of its area, and always the right way.
            if [ "$key" = Up ]; then
                ((P2_MAGENTA > before)) || e2e_fail "$tag: Up made the circle smaller"
            else
                ((P2_MAGENTA < before)) || e2e_fail "$tag: Down made the circle bigger"
            fi
        done
        e2e_log "$tag: ratio $r after $presses presses"
        EXPECT=right
        EXPECT_POINTS=${E2E_POINTS[1]}
    else
        EXPECT=wrong
        EXPECT_POINTS=0
    fi
    local rx sy
    read -r rx sy <<<"$E2E_RIGHT_PT"
    e2e_click "$rx" "$sy"
    verdict "$tag"
}

P3_DOTS=()
problem3_shown() {
    e2e_shot "$1"
    mapfile -t P3_DOTS < <(e2e_px blobs $(scr "$E2E_RECT_BOTH") "$E2E_RED")
    px count $(scr "$E2E_RECT_BOTH") "$E2E_GREEN"
    E2E_WHY="${#P3_DOTS[@]} red dots, ${PX[0]:-0} green pixels"
    ((${#P3_DOTS[@]} == 12 && ${PX[0]:-0} > 20000))
}
play3() {
    local want=$1 tag=$2
    e2e_wait_until "$E2E_SCREEN_DEADLINE_S" "problem 3 screen" problem3_shown "$tag-problem"
    local gx gy n
    read -r gx gy n <<<"$(e2e_px centre $(scr "$E2E_RECT_BOTH") "$E2E_GREEN")"
    # The game's centre is one past the column and the row of the halving pixel.
    gx=$((gx + 1))
    gy=$((gy + 1))
    local dot x y count d bx=0 by=0 best_d=-1 fx=0 fy=0 far_d=-1
    for dot in "${P3_DOTS[@]}"; do
        read -r x y count <<<"$dot"
        ((count == 9)) || e2e_fail "$tag: a red dot of $count pixels at $x,$y, not a 3 by 3 block"
        d=$(((x - gx) * (x - gx) + (y - gy) * (y - gy)))
        ((best_d < 0 || d < best_d)) && { bx=$x; by=$y; best_d=$d; }
        ((far_d < 0 || d > far_d)) && { fx=$x; fy=$y; far_d=$d; }
    done
    e2e_log "$tag: $n green pixels halve at $gx,$gy on the screen; nearest dot $bx,$by"
    # The dots cover a few green pixels, so the halving point seen here may differ from the
    # game's by a pixel or two, never by the 15 between dots.
    ((best_d <= 18)) || e2e_fail "$tag: no dot within 4 pixels of the green shape's centre $gx,$gy (nearest $bx,$by)"
    if [ "$want" = right ]; then
        EXPECT=right
        EXPECT_POINTS=${E2E_POINTS[2]}
        e2e_click $((bx - E2E_X)) $((by - E2E_Y))
    else
        EXPECT=wrong
        EXPECT_POINTS=0
        e2e_click $((fx - E2E_X)) $((fy - E2E_Y))
    fi
    verdict "$tag"
    if [ "$want" = wrong ]; then
        # The true centre is marked in blue over its dot: seven pixels, an H.
        local bbox marks
        px count $(scr "$E2E_RECT_BOTH") "$E2E_BLUE" bbox $(scr "$E2E_RECT_BOTH") "$E2E_BLUE"
        marks=${PX[0]:-0}
        bbox=${PX[1]:-none}
        ((marks == 7)) || e2e_fail "$tag: the centre mark has $marks blue pixels, not 7"
        [ "$bbox" = "$((bx - 1)) $((by - 1)) $((bx + 2)) $((by + 2))" ] ||
            e2e_fail "$tag: the centre mark covers $bbox, not the dot at $bx,$by"
    fi
}

P4_ORANGE_CLR=
P4_O=0
P4_B=0
P4_SIDE=0
# The red cross-hair's middle pixel at side S of the right square, in client coordinates.
crosshair() {
    local l t r b
    read -r l t r b <<<"$E2E_RECT_RIGHT"
    case $1 in
        0) echo "$((l + 44)) $((t + 44))" ;;
        1) echo "$((r - 44)) $((t + 44))" ;;
        2) echo "$((r - 44)) $((b - 44))" ;;
        3) echo "$((l + 44)) $((b - 44))" ;;
    esac
}
# Reads the target's colour at the middle of the left square, both areas, and which of
# the four cross-hair places is red; PX4 holds "O B SIDES" where SIDES lists the red ones.
problem4_read() {
    e2e_shot "$1"
    local lx ly s cx cy
    read -r lx ly <<<"$E2E_LEFT_PT"
    px pixel "$(e2e_ax "$lx")" "$(e2e_ay "$ly")"
    P4_ORANGE_CLR=${PX[0]:-0,0,0}
    local queries=(count $(scr "$E2E_RECT_LEFT") "$P4_ORANGE_CLR"
        count $(scr "$E2E_RECT_RIGHT") "$E2E_CYAN" present $(scr "$BELOW_BAND") "$BOX_FACE")
    for s in 0 1 2 3; do
        read -r cx cy <<<"$(crosshair "$s")"
        queries+=(pixel "$(e2e_ax "$cx")" "$(e2e_ay "$cy")")
    done
    px "${queries[@]}"
    local sides=
    for s in 0 1 2 3; do
        [ "${PX[3 + s]:-}" = "$E2E_RED" ] && sides+="$s"
    done
    PX4="${PX[0]:-0} ${PX[1]:-0} ${sides:-none}"
    P4_BOX_LEFT=${PX[2]:-yes}
}
problem4_shown() {
    problem4_read "$1"
    local o b sides
    read -r o b sides <<<"$PX4"
    E2E_WHY="target colour $P4_ORANGE_CLR, $o target and $b cyan pixels, cross-hair at $sides"
    [[ $P4_ORANGE_CLR != 255,255,255 ]] && ((o > 40000 && b > 80000)) && [ "$sides" = 0 ]
}
# Once every key has been handled and the instructions box is gone: the repaint has
# redrawn the client area (no trace of the box's face below the message band, the whole
# target) and two screenshots in a row agree.
problem4_settled() {
    problem4_read "$1"
    local first=$PX4
    E2E_WHY="$first; box traces $P4_BOX_LEFT"
    [ "$P4_BOX_LEFT" = no ] && [ "${first%% *}" = "$P4_O" ] || return 1
    problem4_read "$1"
    E2E_WHY="$first, then $PX4"
    [ "$first" = "$PX4" ]
}
# cave_rounds N: N rounds, each caving the four sides in turn once (Down, then Space to
# the next side) and ending one side further on; then reads the shape once settled.
cave_rounds() {
    local n=$1 tag=$2 keys=() i
    for ((i = 0; i < n; i++)); do
        keys+=(Down space Down space Down space Down space space)
    done
    e2e_key "${keys[@]}"
    P4_SIDE=$(((P4_SIDE + n) % 4))
    read_settled "$tag"
}
# pull_round: pulls the four sides back out by one pixel each.
pull_round() {
    e2e_key Up space Up space Up space Up space
    read_settled "$1"
}
read_settled() {
    keys_handled
    e2e_wait_until "$E2E_SCREEN_DEADLINE_S" "settled problem 4 screen" problem4_settled "$1-edit"
    local sides
    read -r _ P4_B sides <<<"$PX4"
    [ "$sides" = "$P4_SIDE" ] || e2e_fail "$1: the cross-hair is at side(s) $sides, expected $P4_SIDE"
}
play4() {
    local want=$1 tag=$2
    P4_SIDE=0
    e2e_wait_until "$E2E_SCREEN_DEADLINE_S" "problem 4 screen" problem4_shown "$tag-problem"
    read -r P4_O P4_B _ <<<"$PX4"
    local t=$((P4_O * E2E_TOLERANCE_PER_MILLE / 1000))
    e2e_log "$tag: target $P4_O pixels in $P4_ORANGE_CLR (tolerance $t), blue shape $P4_B"
    ((P4_B - P4_O > t)) || e2e_fail "$tag: the untouched shape is not too big ($P4_B against $P4_O)"
    EXPECT_POINTS=0
    if [ "$want" = right ]; then
        local start=$P4_B cut n rounds=1 pulls=0
        cave_rounds 1 "$tag"
        cut=$((start - P4_B))
        ((cut > 800 && cut < 2400)) || e2e_fail "$tag: one round of four Down presses cut $cut pixels"
        while ((P4_B - P4_O >= t)); do
            ((rounds < 40)) || e2e_fail "$tag: still too big after $rounds rounds"
            n=$(((P4_B - P4_O + cut / 2) / cut))
            ((n > 0)) || n=1
            cave_rounds "$n" "$tag"
            rounds=$((rounds + n))
        done
        while ((P4_O - P4_B >= t)); do
            ((pulls < 10)) || e2e_fail "$tag: still too small after $pulls pulls"
            pull_round "$tag"
            pulls=$((pulls + 1))
        done
        local d=$((P4_B > P4_O ? P4_B - P4_O : P4_O - P4_B))
        local base=$((((t + 9) / 10) * 10))
        # Closeness, plus 100 for the symmetry of four equally caved sides, bounded.
        EXPECT_POINTS=$(((((base - d) / 5 + 9) / 10) * 10 + 100))
        ((EXPECT_POINTS < 1)) && EXPECT_POINTS=10
        ((EXPECT_POINTS > 389)) && EXPECT_POINTS=400
        e2e_log "$tag: $rounds rounds, $pulls pulls: blue shape $P4_B against $P4_O, worth $EXPECT_POINTS"
        EXPECT=right
    else
        EXPECT=wrong
    fi
    local rx sy
    read -r rx sy <<<"$E2E_RIGHT_PT"
    e2e_click "$rx" "$sy"
    verdict "$tag"
}

# ---------------------------------------------------------------------------------------
# The run

e2e_start_xvfb "$2"
e2e_start_wm openbox
start_game
e2e_wait_window
e2e_wait_menu start-menu
e2e_client_area
CLIENT="$E2E_X $E2E_Y $E2E_W $E2E_H"
# The client area under the message band, where the prompt's antialiased text never is.
BELOW_BAND="0 $(cut -d' ' -f4 <<<"$E2E_RECT_MESSAGE") $E2E_W $E2E_H"
focus_on "$E2E_WID" "main window"
wait_menu start-menu

for p in "${ORDER[@]}"; do
    STEP=$((STEP + 1))
    k=${PLAYS[p - 1]}
    want=right
    ((k == 1 || k == 3)) && want=wrong
    tag=$(printf 'a%02d-p%d' "$STEP" "$p")
    choose "$p"
    PLAYS[p - 1]=$((k + 1))
    "play$p" "$want" "$tag"
    wait_menu "$tag-menu"
    check_score_box "$tag"
done
check_score_widths
e2e_log "game over: $RIGHT_ANSWERS right answers, $TALLY points expected"

# F2: the past scores, one line for this game above the closing line.
scores_dialog() {
    SCORES_WID=$(xdotool search --all --onlyvisible --pid "$E2E_APP" \
        --name '^List of Past Scores \(Newest is at the Top\)\.$' 2>/dev/null | head -n 1)
    [ -n "$SCORES_WID" ]
}
scores_closed() { ! scores_dialog; }
e2e_key F2
e2e_wait_until "$E2E_SCREEN_DEADLINE_S" "past-scores dialog" scores_dialog
scores_listed() {
    e2e_shot scores
    local info
    info=$(xwininfo -id "$SCORES_WID") || { E2E_WHY="xwininfo"; return 1; }
    local x y w h
    x=$(sed -n 's/.*Absolute upper-left X: *//p' <<<"$info")
    y=$(sed -n 's/.*Absolute upper-left Y: *//p' <<<"$info")
    w=$(sed -n 's/.*Width: *//p' <<<"$info")
    h=$(sed -n 's/.*Height: *//p' <<<"$info")
    # The list is the white box in the dialog's upper part, above the Exit button.
    LIST=$(python3 "$GAMEPIX" "$E2E_SHOT" white_box "$x" "$y" "$w" $((h * 8 / 10)))
    [ "$LIST" != none ] || { E2E_WHY="no white list in the dialog at ${w}x${h}+$x+$y"; return 1; }
    local l t r b
    read -r l t r b <<<"$LIST"
    mapfile -t LINES < <(python3 "$GAMEPIX" "$E2E_SHOT" text_lines "$l" "$t" $((r - l)) $((b - t)))
    E2E_WHY="list $LIST: lines ${LINES[*]}"
    ((${#LINES[@]} == 2))
}
e2e_wait_until "$E2E_SCREEN_DEADLINE_S" "list of one score and its closing line" scores_listed
read -r s_top s_bottom s_left s_right <<<"${LINES[0]}"
read -r c_top c_bottom c_left c_right <<<"${LINES[1]}"
# The score's digits are taller than the closing line's hyphens, and right-aligned with
# them in one column.
((s_bottom - s_top > 2 * (c_bottom - c_top))) ||
    e2e_fail "the first line ($s_top..$s_bottom) is not taller than the closing line ($c_top..$c_bottom)"
((s_right - c_right <= 2 && c_right - s_right <= 2)) ||
    e2e_fail "the score (columns $s_left..$s_right) is not right-aligned with the closing line ($c_left..$c_right)"
e2e_log "past scores: score line $s_left..$s_right above the closing line $c_left..$c_right"
focus_on "$SCORES_WID" "past-scores dialog"
e2e_key Escape
e2e_wait_until "$E2E_SCREEN_DEADLINE_S" "past-scores dialog closed by Escape" scores_closed
wait_menu after-scores

# Home: a fresh game's menu, all four entries in their slots and no score.
focus_on "$E2E_WID" "main window"
e2e_key Home
PLAYS=(0 0 0 0)
TALLY=0
wait_menu new-game

# Ctrl+P: the print dialog, its PDF printer chosen and an output file typed.
print_dialog() {
    PRINT_WID=$(xdotool search --all --onlyvisible --pid "$E2E_APP" --name '^Print$' 2>/dev/null | head -n 1)
    [ -n "$PRINT_WID" ]
}
print_closed() { ! print_dialog; }
e2e_key ctrl+p
e2e_wait_until "$E2E_SCREEN_DEADLINE_S" "print dialog" print_dialog
e2e_shot print-dialog
focus_on "$PRINT_WID" "print dialog"
# The printer list ends with the PDF printer; the output file field follows.
e2e_key alt+n End alt+f ctrl+a
xdotool type --delay 20 "$PDF" || e2e_fail "xdotool could not type the file name"
e2e_shot print-dialog-filled
# Return prints. The file name field completes names from the file system, and a Return
# that meets its completion list closes only the list; the dialog then takes another.
for attempt in 1 2 3 4 5; do
    print_dialog || break
    focus_on "$PRINT_WID" "print dialog"
    e2e_key Return
    attempt_deadline=$((SECONDS + $(e2e_scaled 10)))
    while print_dialog && ((SECONDS < attempt_deadline)); do
        sleep 0.2
    done
done
print_closed || e2e_fail "Return did not print from the print dialog"
pdf_written() {
    [ -s "$PDF" ] || { E2E_WHY="no file $PDF"; return 1; }
    pdftotext "$PDF" - 2>/dev/null | grep -q "Mouse and Keyboard" || {
        E2E_WHY="pdftotext finds no \"Mouse and Keyboard\" in $PDF"
        return 1
    }
}
e2e_wait_until "$E2E_SCREEN_DEADLINE_S" "printed instructions" pdf_written
e2e_log "printed $PDF ($(stat -c %s "$PDF") bytes)"
wait_menu after-print

# File > Exit ends the program with status 0.
focus_on "$E2E_WID" "main window"
e2e_key alt+f
e2e_wait_until 20 "File menu" other_window
e2e_shot file-menu
e2e_key x
e2e_wait_end "File > Exit" "$TIME_PID"
((E2E_STATUS == 0)) || e2e_fail "the program ended with status $E2E_STATUS after File > Exit"

if [ -n "${TESSIX_GAME_WRAPPER:-}" ]; then
    e2e_log "PASS: 20 answers ($RIGHT_ANSWERS right), game over, past scores, new game, print to PDF, exit 0"
    exit 0
fi
rss=$(sed -n 's/.*Maximum resident set size (kbytes): *//p' "$TIME_LOG")
wall=$(sed -n 's/.*Elapsed (wall clock) time (h:mm:ss or m:ss): *//p' "$TIME_LOG")
[ -n "$rss" ] || e2e_fail "no peak memory in $TIME_LOG"
{
    echo "peak_rss_kb=$rss"
    echo "wall_clock=$wall"
    echo "seed=$SEED"
    echo "answers=20 right=$RIGHT_ANSWERS"
} >"$RSS_FILE"
e2e_log "peak resident memory $rss kB over the whole game ($wall); written to $RSS_FILE"
e2e_log "PASS: 20 answers ($RIGHT_ANSWERS right), game over, past scores, new game, print to PDF, exit 0"
