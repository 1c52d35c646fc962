#!/bin/sh
# SPDX-License-Identifier: MIT
# The program as a user meets it, under Xvfb with a window manager.
#
# Usage: e2e_window.sh TESSIX WM DISPLAY_NUMBER OUT_DIR
#   TESSIX          the built program
#   WM              openbox or xfwm4
#   DISPLAY_NUMBER  the first X display number to try (the next free one is taken)
#   OUT_DIR         where the screenshots go (start.png, file-menu.png)
#
# Checks: the window starts filling the screen with a caption and a menu bar; the
# caption is the
# game's (banner, date, " -- Version D613"); the game has drawn its menu screen; Alt+F
# opens the File menu (screenshot); its Exit item ends the program with status 0; Alt+F4
# ends a second run with status 0.
# Exits 0 when all holds, 1 on a failure, 77 (skipped) when a tool is missing.

set -u

if [ $# -ne 4 ]; then
  echo "usage: $0 TESSIX WM DISPLAY_NUMBER OUT_DIR" >&2
  exit 2
fi
tessix=$1
wm=$2
num=$3
out=$4

for tool in Xvfb xdotool xprop xwininfo import convert "$wm"; do
  command -v "$tool" >/dev/null 2>&1 || { echo "skipped: $tool is not installed"; exit 77; }
done

# xfwm4 keeps its settings behind D-Bus: the whole run gets a private session bus,
# which ends with it.
if [ "$wm" = xfwm4 ] && [ -z "${TESSIX_E2E_BUS:-}" ]; then
  command -v dbus-run-session >/dev/null 2>&1 || { echo "skipped: dbus-run-session is not installed"; exit 77; }
  TESSIX_E2E_BUS=1 exec dbus-run-session -- "$0" "$@"
fi

mkdir -p "$out"
work=$(mktemp -d)
xvfb_pid=
wm_pid=
app_pid=
failures=0

stop() {
  if [ -n "$1" ] && kill -0 "$1" 2>/dev/null; then
    kill "$1" 2>/dev/null
    wait "$1" 2>/dev/null
  fi
}
cleanup() {
  stop "$app_pid"
  stop "$wm_pid"
  stop "$xvfb_pid"
  rm -rf "$work"
}
trap cleanup EXIT
trap 'exit 1' INT TERM

fail() {
  echo "FAIL: $*" >&2
  failures=$((failures + 1))
}

# Polls a command every 0.1 s for up to $1 seconds of an idle machine, stretched by the
# load per core of the last minute and by E2E_SLOWDOWN (the sanitizer build's).
wait_until() {
  end=$(awk -v s="$1" -v f="${E2E_SLOWDOWN:-1}" -v n="$(nproc)" \
    '{ b = $1 / n; if (b < 1) b = 1; printf "%d", s * f * b + 1 }' /proc/loadavg)
  end=$(($(date +%s) + end))
  shift
  while :; do
    "$@" >/dev/null 2>&1 && return 0
    [ "$(date +%s)" -lt "$end" ] || return 1
    sleep 0.1
  done
}

screen_w=1024
screen_h=768
# -noreset: a server that resets when its last client leaves refuses the connections made
# meanwhile, such as the window manager's right after the probe below.
# The first free display number from $num on; the server is ready when it answers and its
# lock names it (not another server that took the same number at the same moment).
xvfb_ours() { [ "$(tr -d ' ' <"/tmp/.X$num-lock")" = "$xvfb_pid" ] && DISPLAY=":$num" xprop -root; }
for _ in 1 2 3 4 5 6 7 8 9 10; do
  while [ -e "/tmp/.X$num-lock" ]; do num=$((num + 1)); done
  Xvfb ":$num" -screen 0 "${screen_w}x${screen_h}x24" -nolisten tcp -noreset >"$work/xvfb.log" 2>&1 &
  xvfb_pid=$!
  wait_until 10 xvfb_ours && break
  stop "$xvfb_pid"
  xvfb_pid=
  num=$((num + 1))
done
[ -n "$xvfb_pid" ] || { echo "FAIL: Xvfb did not start" >&2; cat "$work/xvfb.log" >&2; exit 1; }
export DISPLAY=":$num"

export HOME="$work/home" XDG_CONFIG_HOME="$work/config" XDG_CACHE_HOME="$work/cache"
export XDG_RUNTIME_DIR="$work/runtime"
mkdir -p "$HOME" "$XDG_CONFIG_HOME" "$XDG_CACHE_HOME" "$XDG_RUNTIME_DIR"
chmod 700 "$XDG_RUNTIME_DIR"
start_wm() {
  case $wm in
    xfwm4) NO_AT_BRIDGE=1 xfwm4 --compositor=off --sm-client-disable >"$work/wm.log" 2>&1 & ;;
    *) "$wm" >"$work/wm.log" 2>&1 & ;;
  esac
  wm_pid=$!
}
wm_ready() { xprop -root _NET_SUPPORTING_WM_CHECK | grep -q 'window id'; }
start_wm
if ! wait_until 10 wm_ready; then
  # A window manager now and then gives up on a display that has only just opened.
  echo "note: $wm did not start; trying once more" >&2
  cat "$work/wm.log" >&2
  stop "$wm_pid"
  start_wm
  wait_until 10 wm_ready || { echo "FAIL: $wm did not start" >&2; cat "$work/wm.log" "$work/xvfb.log" >&2; exit 1; }
fi

find_wid() {
  wid=$(xdotool search --all --pid "$app_pid" --name ' -- Version D613$' 2>/dev/null | head -n 1)
  [ -n "$wid" ]
}
# Starts the program; sets app_pid and wid (the frame's window, once it carries the
# game's caption, that is once the game has painted).
start_tessix() {
  env -u DBUS_SESSION_BUS_ADDRESS SDL_AUDIODRIVER=dummy QT_QPA_PLATFORM=xcb \
    "$tessix" --mute >"$work/tessix.log" 2>&1 &
  app_pid=$!
  wid=
  if wait_until 20 find_wid; then
    find_wid
  else
    echo "FAIL: no window with the game's caption" >&2
    cat "$work/tessix.log" >&2
    exit 1
  fi
}

# The program has ended (an ended child lingers as a zombie until it is waited for).
app_ended() {
  app_stat=$(ps -o stat= -p "$app_pid" 2>/dev/null)
  case $app_stat in
    "" | Z*) return 0 ;;
    *) return 1 ;;
  esac
}

# Waits for the program to end and checks its exit status.
expect_exit_0() {
  if ! wait_until 10 app_ended; then
    fail "$1 did not end the program"
    stop "$app_pid"
    app_pid=
    return
  fi
  wait "$app_pid"
  status=$?
  [ "$status" -eq 0 ] || fail "$1 ended the program with status $status"
  app_pid=
}

# Pixels of exactly one colour in a region of a screenshot.
count_colour() { # file geometry colour
  convert "$1" -crop "$2" +repage -fill black +opaque "$3" -fill white -opaque "$3" \
    -format '%[fx:round(mean*w*h)]' info:
}
# Pixels darker than mid-grey in a region (text).
count_dark() { # file geometry
  convert "$1" -crop "$2" +repage -colorspace gray -threshold 50% -negate \
    -format '%[fx:round(mean*w*h)]' info:
}

start_tessix

# The caption: banner, date and time of the paint, version.
title=$(xdotool getwindowname "$wid")
echo "caption: $title"
case $title in
  Tessix*" -- "*" -- Version D613") ;;
  *) fail "caption '$title' is not the game's" ;;
esac
year=$(date +%Y)
case $title in
  *"$year"*) ;;
  *) fail "caption '$title' carries no date of this year ($year)" ;;
esac

# Maximized, covering the screen below its caption.
# The Motif hints ask for a caption and a thin border only (no sizing border, no
# buttons), and let the window manager move, resize, maximize and close the window, so
# that its maximize brings back a window that was moved.
hints=$(xprop -id "$wid" _MOTIF_WM_HINTS)
case $hints in
  *"_MOTIF_WM_HINTS(_MOTIF_WM_HINTS) = 0x3, 0x36, 0xa,"*) ;;
  *) fail "Motif hints are not a caption without buttons on a window that can be maximized: $hints" ;;
esac
geometry=$(xwininfo -id "$wid")
x=$(echo "$geometry" | sed -n 's/.*Absolute upper-left X: *//p')
y=$(echo "$geometry" | sed -n 's/.*Absolute upper-left Y: *//p')
w=$(echo "$geometry" | sed -n 's/.*Width: *//p')
h=$(echo "$geometry" | sed -n 's/.*Height: *//p')
echo "client window: ${w}x${h}+${x}+${y}"
[ "$w" -ge $((screen_w - 10)) ] || fail "window width $w on a $screen_w screen"
[ $((y + h)) -le "$screen_h" ] || fail "window reaches below the screen: y $y, height $h"
[ "$h" -ge $((screen_h - 80)) ] || fail "window height $h on a $screen_h screen"
[ "$y" -gt 0 ] || fail "no room for a caption above the window (y $y)"

# The game's menu screen: its title in RGB(212,0,212) near the top, once it is drawn.
title_drawn() {
  import -window root "$out/start.png" &&
    title_px=$(count_colour "$out/start.png" "${w}x120+$x+$y" 'rgb(212,0,212)') &&
    [ "$title_px" -gt 100 ]
}
title_px=0
wait_until 20 title_drawn
[ "$title_px" -gt 100 ] || fail "the game's title is not on screen ($title_px pixels)"
# The menu bar: a strip of text ("File", "Help") at the top of the window.
bar_text=$(count_dark "$out/start.png" "120x20+$x+$y")
[ "$bar_text" -gt 20 ] || fail "no menu bar text at the top of the window ($bar_text dark pixels)"

# The File menu opens as a drop-down with its items.
timeout 30 xdotool windowactivate --sync "$wid" >/dev/null 2>&1 || true
xdotool key alt+f
popup_up() {
  for candidate in $(xdotool search --onlyvisible --pid "$app_pid" 2>/dev/null); do
    if [ "$candidate" != "$wid" ] && xprop -id "$candidate" _NET_WM_WINDOW_TYPE | grep -q DROPDOWN_MENU; then
      popup=$candidate
      return 0
    fi
  done
  return 1
}
popup=
# Its items' text, once drawn.
items_drawn() {
  import -window root "$out/file-menu.png" &&
    item_text=$(count_dark "$out/file-menu.png" "${pw}x${ph}+${px}+${py}") && [ "$item_text" -gt 40 ]
}
if wait_until 5 popup_up; then
  popup_up
  pgeometry=$(xwininfo -id "$popup")
  px=$(echo "$pgeometry" | sed -n 's/.*Absolute upper-left X: *//p')
  py=$(echo "$pgeometry" | sed -n 's/.*Absolute upper-left Y: *//p')
  pw=$(echo "$pgeometry" | sed -n 's/.*Width: *//p')
  ph=$(echo "$pgeometry" | sed -n 's/.*Height: *//p')
  echo "File menu: ${pw}x${ph}+${px}+${py}"
  # Two items with separators above each: taller than two plain rows.
  [ "$ph" -ge 40 ] || fail "the File menu is only $ph pixels high"
  item_text=0
  wait_until 10 items_drawn
  [ "$item_text" -gt 40 ] || fail "the File menu shows no item text ($item_text dark pixels)"
  # E&xit: its mnemonic chooses it.
  xdotool key x
  expect_exit_0 "File > Exit"
else
  fail "Alt+F opened no File menu"
  import -window root "$out/file-menu.png"
fi

# Alt+F4, as the window manager or the window takes it.
start_tessix
timeout 30 xdotool windowactivate --sync "$wid" >/dev/null 2>&1 || true
xdotool key alt+F4
expect_exit_0 "Alt+F4"

if [ "$failures" -ne 0 ]; then
  echo "$failures check(s) failed; screenshots in $out; the program said:" >&2
  cat "$work/tessix.log" >&2
  exit 1
fi
echo "ok: $wm; screenshots in $out"
exit 0
