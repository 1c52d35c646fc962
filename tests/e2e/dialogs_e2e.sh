#!/bin/bash
# SPDX-License-Identifier: MIT
# The program's modal windows on the real program: on the menu F2 opens the past-scores
# window (its own title, shown over the menu, a click on the menu meanwhile changes
# nothing) and Escape closes it; F1 opens the instructions box, captioned "Tessix", and
# Return closes it; the menu is the same afterwards. During a problem F2 opens nothing,
# and F1's box closes back onto the same problem, which still takes its keys.
#
#   dialogs_e2e.sh TESSIX DISPLAY_NUMBER WM OUT_DIR
set -u
source "$(dirname "$0")/lib/common.sh"

e2e_setup "dialogs-$3" "$1" "$4"
e2e_start_xvfb "$2"
e2e_start_wm "$3"
e2e_start_tessix --seed 3 --mute
e2e_wait_window
e2e_wait_menu menu
e2e_client_area
e2e_focus

readonly SCORES_TITLE='^List of Past Scores \(Newest is at the Top\)\.$'
readonly BOX_TITLE='^Tessix$'
CLIENT="$E2E_X $E2E_Y $E2E_W $E2E_H"

# What the client area shows, as counts of the colours of the menu and problem 2.
fingerprint() {
    local queries=() clr
    for clr in "$E2E_WHITE" "$E2E_TITLE" "${E2E_ENTRY[@]}" "$E2E_HELP" "$E2E_YELLOW" "$E2E_MAGENTA"; do
        queries+=(count $CLIENT "$clr")
    done
    e2e_px "${queries[@]}" | tr '\n' ' '
}
MENU=$(fingerprint)

# A visible window of the program titled by the pattern, other than the main window;
# sets DIALOG.
find_dialog() {
    DIALOG=$(xdotool search --onlyvisible --pid "$E2E_APP" --name "$1" 2>/dev/null |
        grep -vx "$E2E_WID" | head -n 1)
    [ -n "$DIALOG" ]
}
no_dialog() { ! find_dialog "$1"; }
# The dialog's rectangle on the screen: DX DY DW DH.
dialog_geometry() {
    local info
    info=$(xwininfo -id "$DIALOG") || e2e_fail "xwininfo on window $DIALOG"
    DX=$(sed -n 's/.*Absolute upper-left X: *//p' <<<"$info")
    DY=$(sed -n 's/.*Absolute upper-left Y: *//p' <<<"$info")
    DW=$(sed -n 's/.*Width: *//p' <<<"$info")
    DH=$(sed -n 's/.*Height: *//p' <<<"$info")
}
# The dialog is drawn on the screen: over the client area, with a background of its
# own (most of it not white) and dark text.
dialog_drawn() {
    e2e_shot "$1"
    dialog_geometry
    ((DX >= E2E_X && DY >= E2E_Y && DX + DW <= E2E_X + E2E_W && DY + DH <= E2E_Y + E2E_H)) ||
        e2e_fail "window ${DW}x${DH}+$DX+$DY is not over the client area"
    local white dark
    white=$(e2e_px count "$DX" "$DY" "$DW" "$DH" "$E2E_WHITE")
    dark=$(e2e_px darker "$DX" "$DY" "$DW" "$DH" 100)
    ((white * 10 < DW * DH * 6 && dark > 10))
}
# The menu is on screen exactly as before.
menu_unchanged() { e2e_shot "$1" && [ "$(fingerprint)" = "$MENU" ]; }

# F2: the past scores.
e2e_key F2
e2e_wait_until "$E2E_START_DEADLINE_S" "past-scores window after F2" find_dialog "$SCORES_TITLE"
e2e_wait_until "$E2E_SCREEN_DEADLINE_S" "past-scores window on the screen" dialog_drawn scores
e2e_log "past scores: window $DIALOG, ${DW}x${DH}+$DX+$DY"
# A click on the first entry, clear of the dialog, while it is open: the window is modal.
read -r l t r b <<<"${E2E_SLOT[0]}"
e2e_click $((l + 2 * E2E_UX)) $(((t + b) / 2))
timeout "$(e2e_scaled 5)" xdotool windowfocus --sync "$DIALOG" >/dev/null 2>&1
e2e_key Escape
e2e_wait_until "$E2E_SCREEN_DEADLINE_S" "past-scores window closed by Escape" no_dialog "$SCORES_TITLE"
e2e_wait_until "$E2E_SCREEN_DEADLINE_S" "the same menu after the past scores" menu_unchanged after-scores
e2e_log "past scores closed; the menu is unchanged"

# F1: the instructions.
e2e_focus
e2e_key F1
e2e_wait_until "$E2E_START_DEADLINE_S" "instructions box after F1" find_dialog "$BOX_TITLE"
e2e_wait_until "$E2E_SCREEN_DEADLINE_S" "instructions box on the screen" dialog_drawn instructions
e2e_log "instructions: window $DIALOG, ${DW}x${DH}+$DX+$DY"
timeout "$(e2e_scaled 5)" xdotool windowfocus --sync "$DIALOG" >/dev/null 2>&1
e2e_key Return
e2e_wait_until "$E2E_SCREEN_DEADLINE_S" "instructions box closed by Return" no_dialog "$BOX_TITLE"
e2e_wait_until "$E2E_SCREEN_DEADLINE_S" "the same menu after the instructions" menu_unchanged after-instructions
e2e_log "instructions closed; the menu is unchanged"

# During problem 2: F2 does nothing, so the Up pressed after it grows the circle with
# no window opened; F1's box closes back onto the same screen, and Up still works.
e2e_focus
e2e_choose_problem 2
problem_shown() {
    e2e_shot "$1"
    (($(e2e_count_rect "$E2E_RECT_LEFT" "$E2E_YELLOW") > 40000 &&
        $(e2e_count_rect "$E2E_RECT_RIGHT" "$E2E_MAGENTA") > 40000))
}
e2e_wait_until "$E2E_SCREEN_DEADLINE_S" "problem 2 screen" problem_shown problem
CIRCLE=$(e2e_count_rect "$E2E_RECT_RIGHT" "$E2E_MAGENTA")
grown() {
    e2e_shot "$1"
    local now
    now=$(e2e_count_rect "$E2E_RECT_RIGHT" "$E2E_MAGENTA")
    ((now > CIRCLE)) && CIRCLE=$now
}
e2e_key F2 Up
e2e_wait_until "$E2E_SCREEN_DEADLINE_S" "a bigger circle after F2 and Up" grown problem-f2
no_dialog "$SCORES_TITLE" || e2e_fail "F2 opened the past scores during a problem"
PROBLEM=$(fingerprint)
e2e_key F1
e2e_wait_until "$E2E_START_DEADLINE_S" "instructions box after F1 during a problem" find_dialog "$BOX_TITLE"
e2e_wait_until "$E2E_SCREEN_DEADLINE_S" "instructions box on the screen" dialog_drawn problem-instructions
timeout "$(e2e_scaled 5)" xdotool windowfocus --sync "$DIALOG" >/dev/null 2>&1
e2e_key Return
e2e_wait_until "$E2E_SCREEN_DEADLINE_S" "instructions box closed by Return" no_dialog "$BOX_TITLE"
same_problem() { e2e_shot "$1" && [ "$(fingerprint)" = "$PROBLEM" ]; }
e2e_wait_until "$E2E_SCREEN_DEADLINE_S" "the same problem screen after the instructions" same_problem problem-after
e2e_focus
e2e_key Up
e2e_wait_until "$E2E_SCREEN_DEADLINE_S" "a bigger circle after the instructions" grown problem-up
e2e_app_alive || e2e_fail "the program ended"
e2e_log "PASS; screenshots in $E2E_OUT"
