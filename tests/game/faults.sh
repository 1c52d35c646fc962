#!/bin/bash
# SPDX-License-Identifier: MIT
# The real program meeting the faults of a player's machine.
#
#   faults.sh CASE TESSIX DISPLAY_NUMBER OUT_DIR
#
#   audio DRIVER     SDL's audio driver DRIVER (one that does not exist: no audio device),
#                    sound not muted: the game starts, plays problems 1 and 3 (whose start
#                    sound plays while the shape is measured) and judges both answers
#   printing         no printer installed: --print and --print-to fail with a message on
#                    standard error and status 1, and so does --pdf into a folder that does
#                    not exist or onto a folder; nothing is written to standard output
#   small-screen WM  a 760x520 screen: the abort message box appears over a window that
#                    shows no menu, and Return ends the program with status 0
#   resize WM        the window resized by force after the menu is shown: the game runs
#                    on, its whole menu shown scaled down, without a message
#
# DISPLAY_NUMBER is where the search for a free X display starts. Screenshots and logs
# stay in OUT_DIR.
set -u
source "$(dirname "$0")/../e2e/lib/common.sh"
readonly GAMEPIX="$(cd "$(dirname "$0")" && pwd)/gamepix.py"

[ $# -ge 4 ] || { echo "usage: $0 CASE [ARG] TESSIX DISPLAY_NUMBER OUT_DIR" >&2; exit 2; }
CASE=$1
ARG=
case $CASE in
    audio | small-screen | resize)
        ARG=$2
        shift
        ;;
esac
[ $# -eq 4 ] || { echo "usage: $0 CASE [ARG] TESSIX DISPLAY_NUMBER OUT_DIR" >&2; exit 2; }
e2e_setup "fault-$CASE${ARG:+-$ARG}" "$2" "$4"
readonly FIRST_DISPLAY=$3

# start_program AUDIO_DRIVER ARGS...: the program with the given SDL audio driver.
start_program() {
    local driver=$1
    shift
    env -u WAYLAND_DISPLAY -u DBUS_SESSION_BUS_ADDRESS SDL_AUDIODRIVER="$driver" \
        QT_QPA_PLATFORM=xcb "$E2E_TESSIX" "$@" >"$E2E_OUT/$E2E_NAME-tessix.log" 2>&1 &
    E2E_APP=$!
    E2E_PIDS+=("$E2E_APP")
    e2e_log "started $(basename "$E2E_TESSIX") $* with SDL_AUDIODRIVER=$driver as $E2E_APP"
}

# expect_exit_0 WHAT: waits for the program to end by itself and checks its status.
expect_exit_0() {
    e2e_wait_end "$1"
    ((E2E_STATUS == 0)) || e2e_fail "the program ended with status $E2E_STATUS after $1"
    e2e_log "the program ended with status 0 after $1"
}

# "X Y W H" on the screen of a client rectangle "LEFT TOP RIGHT BOTTOM".
scr() {
    local l t r b
    read -r l t r b <<<"$1"
    echo "$((E2E_X + l)) $((E2E_Y + t)) $((r - l)) $((b - t))"
}

# The message box of the program, a window captioned "Tessix" alone; sets BOX.
message_box() {
    BOX=$(xdotool search --all --onlyvisible --pid "$E2E_APP" --name '^Tessix$' 2>/dev/null |
        head -n 1)
    [ -n "$BOX" ]
}

# ---------------------------------------------------------------------------------------

# verdict_in_band COLOUR OTHER NAME: the prompt has left the message band and the verdict
# of COLOUR stands there, never one of OTHER.
verdict_in_band() {
    e2e_shot "$3"
    local band answers
    band=$(scr "$E2E_RECT_MESSAGE")
    answers=$(e2e_px present $band 0,0,0 present $band "$1" present $band "$2" | tr '\n' ' ')
    [ "$answers" = "no yes no " ]
}
menu_with_score() {
    e2e_shot "$1"
    [ -z "$(e2e_missing_menu_colours)" ] &&
        [ "$(e2e_px present $(scr "$E2E_RECT_SCORE") "$E2E_SCORE")" = yes ]
}

run_audio() {
    e2e_start_xvfb "$FIRST_DISPLAY"
    e2e_start_wm openbox
    start_program "$ARG" --seed 7
    e2e_wait_window
    e2e_wait_menu menu
    e2e_client_area
    e2e_focus

    # Problem 1: the bigger shape by its pixels, judged right.
    e2e_choose_problem 1
    local blue=0 red=0
    p1_shown() {
        e2e_shot p1
        read -r blue red <<<"$(e2e_px count $(scr "$E2E_RECT_LEFT") "$E2E_BLUE" \
            count $(scr "$E2E_RECT_RIGHT") "$E2E_RED" | tr '\n' ' ')"
        ((blue > 40000 && red > 40000))
    }
    e2e_wait_until "$E2E_SCREEN_DEADLINE_S" "problem 1 screen" p1_shown
    ((blue != red)) || e2e_fail "the shapes of problem 1 have the same area; choose another seed"
    local lx rx sy
    read -r lx sy <<<"$E2E_LEFT_PT"
    read -r rx _ <<<"$E2E_RIGHT_PT"
    if ((blue > red)); then e2e_click "$lx" "$sy"; else e2e_click "$rx" "$sy"; fi
    e2e_wait_until "$E2E_SCREEN_DEADLINE_S" "right verdict of problem 1" \
        verdict_in_band "$E2E_RIGHT" "$E2E_WRONG" p1-verdict
    e2e_wait_until "$E2E_SCREEN_DEADLINE_S" "menu with the score" menu_with_score p1-menu

    # Problem 3: its start sound plays while the shape is measured; the farthest dot is
    # judged wrong.
    e2e_choose_problem 3
    local dots=()
    p3_shown() {
        e2e_shot p3
        mapfile -t dots < <(e2e_px blobs $(scr "$E2E_RECT_BOTH") "$E2E_RED")
        ((${#dots[@]} == 12))
    }
    e2e_wait_until "$E2E_SCREEN_DEADLINE_S" "problem 3 screen with its twelve dots" p3_shown
    local gx gy x y d far_d=-1 fx=0 fy=0 dot
    read -r gx gy _ <<<"$(e2e_px centre $(scr "$E2E_RECT_BOTH") "$E2E_GREEN")"
    for dot in "${dots[@]}"; do
        read -r x y _ <<<"$dot"
        d=$(((x - gx) * (x - gx) + (y - gy) * (y - gy)))
        ((d > far_d)) && { far_d=$d; fx=$x; fy=$y; }
    done
    e2e_click $((fx - E2E_X)) $((fy - E2E_Y))
    e2e_wait_until "$E2E_SCREEN_DEADLINE_S" "wrong verdict of problem 3" \
        verdict_in_band "$E2E_WRONG" "$E2E_RIGHT" p3-verdict
    e2e_wait_until "$E2E_SCREEN_DEADLINE_S" "menu with the score kept" menu_with_score p3-menu
    e2e_app_alive || e2e_fail "the program ended"
    e2e_log "PASS: with SDL_AUDIODRIVER=$ARG the game played and judged problems 1 and 3"
}

# ---------------------------------------------------------------------------------------

# print_fails NAME EXPECTED_TEXT ARGS...: the program run with ARGS, without a display,
# fails with status 1 and a line "tessix: ..." on standard error holding EXPECTED_TEXT.
print_fails() {
    local name=$1 expected=$2
    shift 2
    local out="$E2E_OUT/$E2E_NAME-$name.out" err="$E2E_OUT/$E2E_NAME-$name.err"
    env -u DISPLAY -u WAYLAND_DISPLAY timeout "$(e2e_scaled 60)" "$E2E_TESSIX" "$@" >"$out" 2>"$err"
    local status=$?
    ((status == 1)) || { FAILED+=("$name: status $status, not 1"); return; }
    [ ! -s "$out" ] || FAILED+=("$name: wrote to standard output: $(head -c 200 "$out")")
    grep -q "^tessix: .*$expected" "$err" ||
        FAILED+=("$name: no \"tessix: ...$expected\" on standard error: $(tr '\n' '|' <"$err")")
    e2e_log "$name: status 1, $(grep '^tessix: ' "$err" | head -n 1)"
}

run_printing() {
    command -v lpstat >/dev/null && lpstat -p 2>/dev/null | grep -q '^printer' &&
        e2e_fail "this machine has a printer; the case needs a machine without one"
    FAILED=()
    local missing_dir="$E2E_OUT/no-such-folder"
    rm -rf "$missing_dir"
    print_fails print "printer" --print
    print_fails print-to "nosuch" --print-to nosuch
    print_fails pdf-missing-folder "$missing_dir/x.pdf" --pdf "$missing_dir/x.pdf"
    print_fails pdf-onto-folder "$E2E_OUT" --pdf "$E2E_OUT"
    [ ! -e "$missing_dir" ] || FAILED+=("pdf-missing-folder: $missing_dir was created")
    if ((${#FAILED[@]} > 0)); then
        printf '%s\n' "${FAILED[@]}" >&2
        e2e_fail "${#FAILED[@]} printing fault(s) not reported as they should be"
    fi
    e2e_log "PASS: no printer, an unknown printer and unwritable PDF paths fail clearly"
}

# ---------------------------------------------------------------------------------------

run_small_screen() {
    E2E_SCREEN_SIZE=760x520
    e2e_start_xvfb "$FIRST_DISPLAY"
    e2e_start_wm "$ARG"
    start_program dummy --mute
    e2e_wait_until "$E2E_START_DEADLINE_S" "abort message box" message_box
    local info bx by bw bh
    box_painted() {
        e2e_shot abort
        info=$(xwininfo -id "$BOX") || return 1
        bx=$(sed -n 's/.*Absolute upper-left X: *//p' <<<"$info")
        by=$(sed -n 's/.*Absolute upper-left Y: *//p' <<<"$info")
        bw=$(sed -n 's/.*Width: *//p' <<<"$info")
        bh=$(sed -n 's/.*Height: *//p' <<<"$info")
        # The message's lines: dark text over the box's face, beside the icon.
        mapfile -t LINES < <(python3 "$GAMEPIX" "$E2E_SHOT" text_lines "$bx" "$by" "$bw" "$bh")
        ((${#LINES[@]} >= 2)) && [ "${LINES[0]}" != none ]
    }
    e2e_wait_until "$E2E_SCREEN_DEADLINE_S" "text in the abort message box" box_painted
    e2e_log "abort box ${bw}x${bh}+$bx+$by with ${#LINES[@]} dark bands; screenshot $E2E_SHOT"
    # The game drew no menu behind it.
    local clr
    for clr in "$E2E_TITLE" "${E2E_ENTRY[@]}"; do
        [ "$(e2e_px present 0 0 760 520 "$clr")" = no ] ||
            e2e_fail "menu colour $clr on the screen behind the abort message"
    done
    timeout "$(e2e_scaled 5)" xdotool windowactivate --sync "$BOX" >/dev/null 2>&1 ||
        timeout "$(e2e_scaled 5)" xdotool windowfocus --sync "$BOX" >/dev/null 2>&1 || true
    e2e_key Return
    expect_exit_0 "Return on the abort message"
    e2e_log "PASS: a 760x520 screen under $ARG gives the abort message and status 0"
}

# ---------------------------------------------------------------------------------------

run_resize() {
    e2e_start_xvfb "$FIRST_DISPLAY"
    e2e_start_wm "$ARG"
    start_program dummy --mute
    e2e_wait_window
    e2e_wait_menu menu
    e2e_client_area
    local before
    before=$(xwininfo -id "$E2E_WID" | sed -n 's/.*Width: *//p;s/.*Height: *//p' | tr '\n' x)
    xdotool windowsize "$E2E_WID" 900 700 || e2e_fail "xdotool could not resize the window"
    e2e_log "window of ${before%x} resized"
    # The game keeps its surface and shows it scaled down: still running, the whole menu
    # on the screen, no message.
    e2e_wait_until "$E2E_SCREEN_DEADLINE_S" "the window at 900x700" \
        bash -c "xwininfo -id $E2E_WID | grep -q 'Width: 900'"
    e2e_settle
    e2e_app_alive || e2e_fail "the program ended after the resize"
    ! message_box || { e2e_shot message; e2e_fail "a message box after the resize"; }
    e2e_wait_menu after-resize
    e2e_log "PASS: resized under $ARG after the first layout, the game runs on, its menu whole"
}

case $CASE in
    audio) run_audio ;;
    printing) run_printing ;;
    small-screen) run_small_screen ;;
    resize) run_resize ;;
    *) e2e_fail "unknown case $CASE" ;;
esac
