#!/bin/bash
# SPDX-License-Identifier: MIT
# The real program under Xvfb shows the problem menu over its client area and keeps
# running until it is told to stop.
#
#   menu_e2e.sh TESSIX DISPLAY_NUMBER WM OUT_DIR
#
# WM is "none" or the name of a window manager to run (openbox). The screenshots are left
# in OUT_DIR as menu-WM-*.png.
set -u
source "$(dirname "$0")/lib/common.sh"

# The program must still be running, its menu on screen, this long after it appeared.
readonly ALIVE_S=4

e2e_setup "menu-$3" "$1" "$4"
e2e_start_xvfb "$2"
e2e_start_wm "$3"
e2e_start_tessix
e2e_wait_window
e2e_wait_menu menu
e2e_log "menu on screen"

# It keeps running: no size change after the layout, no abort.
alive_until=$((SECONDS + ALIVE_S))
while ((SECONDS < alive_until)); do
    e2e_app_alive || e2e_fail "the program ended by itself after showing the menu"
    sleep 0.5
done
e2e_menu_shown later || e2e_fail "menu colours $(e2e_missing_menu_colours)gone after ${ALIVE_S}s"
e2e_app_alive || e2e_fail "the program ended by itself"
echo "PASS: menu shown under $3 and the program kept running; screenshot $E2E_SHOT"
