#!/bin/bash
# SPDX-License-Identifier: MIT
# The game window against what a desktop's window manager or compositor lets a player do:
#
#   window_e2e.sh TESSIX DISPLAY_NUMBER CASE OUT_DIR
#
#   openbox  after a caption drag moves the window off the screen, a double-click on the
#            caption (openbox's maximize) brings all of it back, the game still running
#   i3       a second window opening on the workspace leaves the game running, same size
#   weston   (Wayland) problem 1 played to a verdict: the verdict is on screen within a
#            second of the click and stays through the pause, then the menu comes back
#   doubleclick  (no window manager) a double-click on "3 - Find The Center" shows the
#            problem without a verdict: the second press is not a click on the problem
#   i3-toggles   i3's floating and fullscreen toggles leave the game running, its whole
#            menu on screen
#   weston-fullscreen  (Wayland) weston's fullscreen binding leaves the game running, its
#            whole menu on screen
#   xwayland     the game under weston's XWayland shows its menu and keeps running
#   sway         (Wayland, tiling) the menu within 2 s of the start; fullscreen and floating
#            toggles leave the game running, its whole menu on screen
#   focus        (no window manager) once the F2 box has closed, Alt+F4 ends the program
#   tiny-screen  a screen of 2x2 pixels, smaller than the menu bar: the size message comes
#            and Return on it ends the program with status 0
set -u
source "$(dirname "$0")/lib/common.sh"

E2E_SCREEN_SIZE=1920x1200
[ "$3" = tiny-screen ] && E2E_SCREEN_SIZE=2x2
# A second from the click, screenshot included; the sanitizer build is given more.
E2E_VERDICT_LIMIT_MS=${E2E_VERDICT_LIMIT_MS:-1000}
# The verdict's pause beyond its sound (the build reads it from the game's rules).
E2E_PAUSE_MS=${E2E_PAUSE_MS:?the build sets E2E_PAUSE_MS}
# Named case first, so that no run's name begins another's (i3 and i3-toggles): each
# run removes the screenshots of its name before it starts.
e2e_setup "$3-window" "$1" "$4"
e2e_start_xvfb "$2"

# The window's size and position, and that the program still runs.
window_geometry() { xwininfo -id "$E2E_WID" | grep -E 'Absolute|Width|Height' | tr -s ' ' | tr '\n' ' '; }
# After a window action: the program still runs and shows its whole menu, whatever size
# the window now has.
expect_whole_menu() {
    e2e_settle
    e2e_app_alive || e2e_fail "the game ended after $1"
    e2e_wait_menu "after-$2"
    e2e_log "$1: still running, the menu whole${E2E_WID:+, window now $(window_geometry)}"
}

x11_case() {
    e2e_start_wm "$1"
    e2e_start_tessix --seed 3 --mute
    e2e_wait_window
    e2e_wait_menu menu
    GEOMETRY=$(window_geometry)
}

# The centre of the pixels of a colour on the screen, and their count.
centre_of() {
    local l t r b
    read -r l t r b <<<"$(e2e_px bbox 0 0 1920 1080 "$1")"
    [ "$l" != none ] && echo "$(((l + r) / 2)) $(((t + b) / 2)) $(e2e_px count 0 0 1920 1080 "$1")"
}
shapes_shown() { e2e_shot "$1" && [ -n "$(centre_of "$E2E_BLUE")" ] && [ -n "$(centre_of "$E2E_RED")" ]; }
verdict_shown() { e2e_shot "$1" && [ "$(e2e_px present 0 0 1920 1080 "$E2E_RIGHT")" = yes ]; }

# weston in a window of the X server, with XWayland when asked (--xwayland).
start_weston() {
    command -v weston >/dev/null || e2e_fail "weston is not installed"
    weston --backend=x11-backend.so --use-pixman --width=1920 --height=1080 \
        --socket=tessix-e2e --no-config "$@" >"$E2E_OUT/$E2E_NAME-weston.log" 2>&1 &
    E2E_PIDS+=("$!")
    e2e_wait_until 30 "weston's socket" test -S "$XDG_RUNTIME_DIR/tessix-e2e"
}
start_wayland_tessix() {
    env -u DISPLAY WAYLAND_DISPLAY=tessix-e2e QT_QPA_PLATFORM=wayland SDL_AUDIODRIVER=dummy \
        "$E2E_TESSIX" --seed 11 --mute >"$E2E_OUT/$E2E_NAME-tessix.log" 2>&1 &
    E2E_APP=$!
    E2E_PIDS+=("$E2E_APP")
}

weston_case() {
    start_weston
    start_wayland_tessix
    e2e_wait_menu menu
    # weston follows the X pointer once it has entered its window from outside.
    xdotool mousemove 960 1150 && e2e_sleep 0.3
    local x y n
    read -r x y _ <<<"$(centre_of "${E2E_ENTRY[0]}")"
    xdotool mousemove "$x" "$y" && e2e_sleep 0.2 && xdotool click 1
    e2e_wait_until "$E2E_SCREEN_DEADLINE_S" "problem 1 screen" shapes_shown problem
    local blue red
    blue=$(centre_of "$E2E_BLUE")
    red=$(centre_of "$E2E_RED")
    read -r x y n <<<"$blue"
    (( n > ${red##* } )) || read -r x y _ <<<"$red"
    xdotool mousemove "$x" "$y" && e2e_sleep 0.2
    local mark clicked
    mark=$(e2e_cpu_mark)
    clicked=${mark%% *}
    xdotool click 1
    e2e_wait_until 10 "the verdict" verdict_shown verdict
    # The verdict was on screen by the end of the first screenshot that shows it.
    e2e_judge_time "from the click to the verdict on screen" $((E2E_SHOT_DONE - clicked)) \
        "$E2E_VERDICT_LIMIT_MS" "$mark"
    # The pause cannot end before the click plus its length: every screenshot finished
    # before then must show the verdict, and one of them must have been begun in the
    # second half of that time.
    local last=0
    while verdict_shown verdict-later || ((E2E_SHOT_DONE >= clicked + E2E_PAUSE_MS)) ||
        e2e_fail "the verdict left the screen during the pause"; do
        ((E2E_SHOT_DONE < clicked + E2E_PAUSE_MS)) || break
        last=$E2E_SHOT_AT
        sleep 0.2
    done
    e2e_judge_time "left of the pause at the last look that saw the verdict" \
        $((clicked + E2E_PAUSE_MS - last)) $((E2E_PAUSE_MS / 2)) "$mark"
    e2e_wait_menu after-verdict
    e2e_log "the verdict stayed on screen through the pause, then the menu came back"
}

weston_fullscreen_case() {
    start_weston
    start_wayland_tessix
    e2e_wait_menu menu
    # weston takes keys once the pointer has entered its window from outside.
    xdotool mousemove 960 1150 && e2e_sleep 0.3 && xdotool mousemove 960 600 && e2e_sleep 0.3
    xdotool key super+shift+f
    expect_whole_menu "weston's fullscreen binding" fullscreen
}

xwayland_case() {
    command -v Xwayland >/dev/null || e2e_fail "Xwayland is not installed"
    start_weston --xwayland
    local display
    e2e_wait_until 30 "XWayland's display" grep -q 'xserver listening on display' \
        "$E2E_OUT/$E2E_NAME-weston.log"
    display=$(sed -n 's/.*xserver listening on display \(:[0-9]*\).*/\1/p' \
        "$E2E_OUT/$E2E_NAME-weston.log" | head -n 1)
    DISPLAY=$display e2e_start_tessix --seed 11 --mute
    e2e_wait_menu menu
    expect_whole_menu "five seconds under XWayland" later
    sleep 4
    expect_whole_menu "five seconds under XWayland" later
}

i3_toggles_case() {
    x11_case i3
    i3-msg -q floating toggle || e2e_fail "i3-msg floating toggle"
    expect_whole_menu "i3's floating toggle" floating
    i3-msg -q fullscreen toggle || e2e_fail "i3-msg fullscreen toggle"
    expect_whole_menu "i3's fullscreen toggle" fullscreen
    i3-msg -q fullscreen toggle && i3-msg -q floating toggle || e2e_fail "i3-msg toggles back"
    expect_whole_menu "both toggles back" back
}

focus_case() {
    x11_case none
    e2e_key F2
    e2e_wait_until 20 "the scores box" xdotool search --onlyvisible --name '^List of Past Scores'
    e2e_key Return
    e2e_wait_until 20 "the scores box to close" \
        bash -c "! xdotool search --onlyvisible --name '^List of Past Scores' >/dev/null"
    e2e_key alt+F4
    e2e_wait_end "Alt+F4 after the scores box"
    ((E2E_STATUS == 0)) || e2e_fail "the program ended with status $E2E_STATUS"
    e2e_log "Alt+F4 after the scores box ended the program, status 0"
}

tiny_screen_case() {
    e2e_start_tessix --mute
    size_message() { xdotool search --all --onlyvisible --pid "$E2E_APP" --name '^Tessix$' >/dev/null; }
    e2e_wait_until "$E2E_SCREEN_DEADLINE_S" "the size message" size_message
    E2E_WID=$(xdotool search --all --onlyvisible --pid "$E2E_APP" --name '^Tessix$' | head -n 1)
    e2e_focus
    e2e_key Return
    e2e_wait_end "Return on the size message"
    ((E2E_STATUS == 0)) || e2e_fail "the program ended with status $E2E_STATUS"
    e2e_log "a 2x2 screen: the size message, then status 0"
}

case $3 in
    openbox)
        x11_case openbox
        wx=$(xwininfo -id "$E2E_WID" | sed -n 's/.*Absolute upper-left X: *//p')
        wy=$(xwininfo -id "$E2E_WID" | sed -n 's/.*Absolute upper-left Y: *//p')
        # Dragged by its caption partly off the screen, then maximized by a double-click on
        # the caption: the whole window is back where it began.
        xdotool mousemove $((wx + 300)) $((wy - 8)) sleep 0.3 mousedown 1 sleep 0.3 \
            mousemove 700 300 sleep 0.3 mousemove 900 500 sleep 0.3 mouseup 1
        e2e_wait_until 20 "the window moved by the caption drag" eval '[ "$(window_geometry)" != "$GEOMETRY" ]'
        e2e_settle
        wx=$(xwininfo -id "$E2E_WID" | sed -n 's/.*Absolute upper-left X: *//p')
        wy=$(xwininfo -id "$E2E_WID" | sed -n 's/.*Absolute upper-left Y: *//p')
        xdotool mousemove $((wx + 300)) $((wy - 8)) sleep 0.3 click --repeat 2 --delay 80 1
        expect_whole_menu "a drag, then a double-click on the caption" back
        [ "$(window_geometry)" = "$GEOMETRY" ] || e2e_fail "maximize left the window at $(window_geometry), not $GEOMETRY"
        ;;
    i3)
        command -v xmessage >/dev/null || e2e_fail "xmessage is not installed"
        x11_case i3
        xmessage -name second "a second window" &
        E2E_PIDS+=("$!")
        e2e_wait_until 20 "the second window" xdotool search --classname second
        expect_whole_menu "a second window" second-window
        ;;
    weston) weston_case ;;
    doubleclick)
        x11_case none
        e2e_client_area
        read -r l t r b <<<"${E2E_SLOT[2]}"
        xdotool mousemove --sync "$(e2e_ax $((l + 12 * E2E_UX)))" "$(e2e_ay $(((t + b) / 2)))"
        xdotool click --repeat 2 --delay 80 1
        read -r l t r b <<<"$E2E_RECT_BOTH"
        shapes="$((E2E_X + l)) $((E2E_Y + t)) $((r - l)) $((b - t))"
        problem3_shown() { e2e_shot "$1" && (($(e2e_px count $shapes "$E2E_GREEN") > 20000)); }
        e2e_wait_until "$E2E_SCREEN_DEADLINE_S" "problem 3 screen" problem3_shown problem
        read -r l t r b <<<"$E2E_RECT_MESSAGE"
        band="$((E2E_X + l)) $((E2E_Y + t)) $((r - l)) $((b - t))"
        e2e_settle
        # A verdict fills the band with its colour; the prompt's edges hold a few greys.
        problem3_shown after-double-click || e2e_fail "problem 3 left the screen after the double-click"
        (($(e2e_px count $band "$E2E_WRONG") < 1000)) || e2e_fail "the double-click answered the problem"
        e2e_log "a double-click on entry 3 chose the problem and answered nothing"
        ;;
    i3-toggles) i3_toggles_case ;;
    weston-fullscreen) weston_fullscreen_case ;;
    xwayland) xwayland_case ;;
    sway) source "$(dirname "$0")/lib/sway.sh" && sway_case ;;
    focus) focus_case ;;
    tiny-screen) tiny_screen_case ;;
    *) e2e_fail "unknown case $3" ;;
esac
e2e_log "passed"
