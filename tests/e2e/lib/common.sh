# SPDX-License-Identifier: MIT
# Shared functions of the end-to-end scripts: an X server of their own, an optional
# window manager, the real program, its window and client area, screenshots and
# questions about their pixels, input through xdotool, and cleanup on exit.
#
# Source it from a bash script that runs with `set -u`, then call e2e_setup first:
#
#   source "$(dirname "$0")/lib/common.sh"
#   e2e_setup NAME TESSIX OUT_DIR
#   e2e_start_xvfb 70
#   e2e_start_wm none            # or openbox, xfwm4
#   e2e_start_tessix --seed 7
#   e2e_wait_window
#   e2e_wait_menu
#   e2e_client_area              # sets E2E_X E2E_Y E2E_W E2E_H and the layout below
#
# Every process started here is ended on exit; screenshots and logs stay in OUT_DIR,
# named after NAME. Waits poll for what they wait for until a deadline, none sleeping
# longer than a fraction of a second at a time. Deadlines are what an idle machine needs
# with a generous margin, stretched by e2e_scaled to what this machine is doing.

E2E_LIB=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
readonly E2E_LIB

# Deadlines in seconds on an idle machine, generous; e2e_scaled stretches them.
E2E_START_DEADLINE_S=${E2E_START_DEADLINE_S:-30}
E2E_SCREEN_DEADLINE_S=${E2E_SCREEN_DEADLINE_S:-40}
# How many times slower the program is in this build than in a plain one (the build sets
# it for the sanitizers).
E2E_SLOWDOWN=${E2E_SLOWDOWN:-1}
E2E_SCREEN_SIZE=${E2E_SCREEN_SIZE:-1280x1024}

# The game's rules, written by the build from the game's own constants: its colours
# (R,G,B: E2E_WHITE, E2E_TITLE, E2E_ENTRY in problem order, E2E_RIGHT, E2E_WRONG, the
# shapes' E2E_BLUE ... E2E_ORANGE), E2E_POINTS, problem 2's band and the answer pause.
# shellcheck source=/dev/null
source "${E2E_RULES:?the build sets E2E_RULES to its rules file}" || exit 1

E2E_PIDS=()
E2E_NAME=
E2E_OUT=
E2E_TESSIX=
E2E_APP=
E2E_WID=
E2E_SHOT=
# When the last screenshot began and ended (ms): it shows the screen at some moment between.
E2E_SHOT_AT=0
E2E_SHOT_DONE=0
# What the last failed check of e2e_wait_until saw, for its failure message.
E2E_WHY=
E2E_WM=none

# e2e_setup NAME TESSIX OUT_DIR: names the run, checks the tools and the program, and
# arranges for everything started here to end with the script.
e2e_setup() {
    E2E_NAME=$1
    E2E_TESSIX=$2
    E2E_OUT=$3
    trap e2e_cleanup EXIT
    mkdir -p "$E2E_OUT" || e2e_fail "cannot create $E2E_OUT"
    E2E_OUT=$(cd "$E2E_OUT" && pwd)
    trap 'exit 1' INT TERM
    local tool
    for tool in Xvfb xdotool xprop xwininfo import convert python3; do
        command -v "$tool" >/dev/null || e2e_fail "$tool is not installed"
    done
    [ -x "$E2E_TESSIX" ] || e2e_fail "no program at $E2E_TESSIX"
    rm -f "$E2E_OUT/$E2E_NAME"-*.png "$E2E_OUT/$E2E_NAME"-*.log
    # A private home, so that no settings of the machine's user take part.
    local home="$E2E_OUT/$E2E_NAME-home"
    rm -rf "$home"
    mkdir -p "$home/config" "$home/cache" "$home/runtime" && chmod 700 "$home/runtime"
    export HOME="$home" XDG_CONFIG_HOME="$home/config" XDG_CACHE_HOME="$home/cache"
    export XDG_RUNTIME_DIR="$home/runtime"
}

# e2e_kill_tree PID: ends PID and every process under it, children first (a process
# started through a shell function or a wrapper runs below the PID that $! names).
e2e_kill_tree() {
    local child
    for child in $(pgrep -P "$1"); do e2e_kill_tree "$child"; done
    kill "$1" 2>/dev/null
}
e2e_cleanup() {
    local i pid
    # Newest first: the program before the window manager before the X server.
    for ((i = ${#E2E_PIDS[@]} - 1; i >= 0; i--)); do
        pid=${E2E_PIDS[i]}
        e2e_kill_tree "$pid"
        wait "$pid" 2>/dev/null
    done
    E2E_PIDS=()
}

e2e_log() {
    echo "$E2E_NAME [${SECONDS}s]: $*"
}

# e2e_fail MESSAGE: reports, shows the ends of the logs and ends the script with 1.
e2e_fail() {
    echo "FAIL: $E2E_NAME: $*" >&2
    local log
    for log in "$E2E_OUT/$E2E_NAME"-*.log; do
        [ -s "$log" ] && { echo "--- $log" >&2; tail -n 20 "$log" >&2; }
    done
    [ -n "$E2E_SHOT" ] && echo "last screenshot: $E2E_SHOT" >&2
    exit 1
}

# e2e_start_xvfb FIRST_DISPLAY: an X server on the first free display number from
# FIRST_DISPLAY on; exports DISPLAY.
e2e_start_xvfb() {
    local first=$1 n pid deadline
    for ((n = first; n < first + 30; n++)); do
        [ -e "/tmp/.X$n-lock" ] && continue
        # -noreset: a server that resets when its last client leaves refuses the
        # connections made meanwhile, such as the program's right after a probe.
        Xvfb ":$n" -screen 0 "${E2E_SCREEN_SIZE}x24" -nolisten tcp -noreset \
            >"$E2E_OUT/$E2E_NAME-xvfb.log" 2>&1 &
        pid=$!
        deadline=$((SECONDS + E2E_START_DEADLINE_S))
        # Ready when the display answers and its lock names this server, not another one
        # that holds (or is just leaving) the same number.
        while ((SECONDS < deadline)) && kill -0 "$pid" 2>/dev/null; do
            if [ "$({ tr -d ' ' <"/tmp/.X$n-lock"; } 2>/dev/null)" = "$pid" ] &&
                DISPLAY=":$n" xprop -root >/dev/null 2>&1; then
                E2E_PIDS+=("$pid")
                export DISPLAY=":$n"
                e2e_log "X server on $DISPLAY"
                return 0
            fi
            sleep 0.2
        done
        kill "$pid" 2>/dev/null
        wait "$pid" 2>/dev/null
    done
    e2e_fail "no X server could be started from display :$first on"
}

# e2e_start_wm WM: runs the window manager WM (openbox, xfwm4, i3) and waits until it has
# announced itself on the root window; "none" runs none.
e2e_start_wm() {
    E2E_WM=$1
    [ "$E2E_WM" = none ] && return 0
    command -v "$E2E_WM" >/dev/null || e2e_fail "window manager $E2E_WM is not installed"
    local attempt pid deadline
    for attempt in 1 2; do
        case $E2E_WM in
            xfwm4) NO_AT_BRIDGE=1 xfwm4 --compositor=off --sm-client-disable \
                >"$E2E_OUT/$E2E_NAME-wm.log" 2>&1 & ;;
            i3) echo 'font pango:monospace 8' >"$E2E_OUT/$E2E_NAME-i3.conf"
                i3 -c "$E2E_OUT/$E2E_NAME-i3.conf" >"$E2E_OUT/$E2E_NAME-wm.log" 2>&1 & ;;
            *) "$E2E_WM" >"$E2E_OUT/$E2E_NAME-wm.log" 2>&1 & ;;
        esac
        pid=$!
        E2E_PIDS+=("$pid")
        deadline=$((SECONDS + E2E_START_DEADLINE_S))
        while ((SECONDS < deadline)) && kill -0 "$pid" 2>/dev/null; do
            xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' && return 0
            sleep 0.2
        done
        # A window manager now and then gives up on a display that has only just opened.
        kill "$pid" 2>/dev/null
        wait "$pid" 2>/dev/null
        e2e_log "$E2E_WM did not start (attempt $attempt)"
    done
    e2e_fail "$E2E_WM did not start"
}

# e2e_start_tessix ARGS...: starts the program with silent audio and its output in the
# log; sets E2E_APP.
e2e_start_tessix() {
    env -u WAYLAND_DISPLAY -u DBUS_SESSION_BUS_ADDRESS SDL_AUDIODRIVER=dummy \
        QT_QPA_PLATFORM=xcb "$E2E_TESSIX" "$@" >"$E2E_OUT/$E2E_NAME-tessix.log" 2>&1 &
    E2E_APP=$!
    E2E_PIDS+=("$E2E_APP")
    e2e_log "started $(basename "$E2E_TESSIX") $* as $E2E_APP"
}

# e2e_stretch SECONDS: SECONDS on an idle machine stretched to this one: times
# E2E_SLOWDOWN and times the load of the last minute per core, when that is above 1.
e2e_stretch() {
    local load
    read -r load _ </proc/loadavg
    awk -v s="$1" -v l="$load" -v n="$(nproc)" -v f="$E2E_SLOWDOWN" \
        'BEGIN { b = l / n; if (b < 1) b = 1; print s * f * b }'
}
# e2e_scaled SECONDS: the same in whole seconds (rounded up), for deadlines.
e2e_scaled() {
    local t
    t=$(e2e_stretch "$1")
    echo $((${t%.*} + 1))
}
# e2e_sleep SECONDS: sleeps that long, stretched, where nothing can be observed (a
# compositor following the pointer).
e2e_sleep() {
    sleep "$(e2e_stretch "$1")"
}

# Milliseconds of the wall clock, without a process.
e2e_now_ms() {
    local us=${EPOCHREALTIME/[.,]/}
    echo $((us / 1000))
}
# Microseconds that tasks have spent waiting for a CPU since boot (the kernel's pressure
# stall information; empty where the kernel keeps none).
e2e_cpu_waited_us() {
    sed -n 's/^some .*total=\([0-9]*\).*/\1/p' /proc/pressure/cpu 2>/dev/null
}
# e2e_cpu_mark: "MS WAITED_US", the moment and the CPU waiting so far, for e2e_busy.
e2e_cpu_mark() {
    echo "$(e2e_now_ms) $(e2e_cpu_waited_us)"
}
# e2e_busy [MARK]: the machine was too busy for a check of timing to tell the program's
# delay from the machine's: since MARK, tasks waited for a CPU more than a quarter of the
# time; without MARK or the kernel's measure, the load of the last minute exceeds the cores.
e2e_busy() {
    local at waited now
    read -r at waited <<<"${1:-}"
    now=$(e2e_cpu_waited_us)
    if [ -n "${waited:-}" ] && [ -n "$now" ]; then
        (((now - waited) * 4 > ($(e2e_now_ms) - at) * 1000))
        return
    fi
    local load
    read -r load _ </proc/loadavg
    awk -v l="$load" -v n="$(nproc)" 'BEGIN { exit !(l > n) }'
}
# e2e_judge_time WHAT MS LIMIT_MS MARK: a duration observed since MARK passes within the
# limit; beyond it the check fails, or says it is skipped when the machine was too busy
# meanwhile to judge.
e2e_judge_time() {
    if (($2 <= $3)); then
        e2e_log "$1: $2 ms (at most $3)"
    elif e2e_busy "$4"; then
        e2e_log "skipped: the machine is too busy to judge timing ($1: $2 ms, more than $3)"
    else
        e2e_fail "$1: $2 ms, more than $3"
    fi
}

# The program (or process PID) is still running (an ended child lingers as a zombie
# until waited for).
e2e_app_alive() {
    local stat
    stat=$(ps -o stat= -p "${1:-$E2E_APP}" 2>/dev/null)
    case $stat in
        "" | Z*) return 1 ;;
        *) return 0 ;;
    esac
}

# e2e_wait_until DEADLINE_S WHAT COMMAND...: runs COMMAND every 0.2 s until it succeeds;
# fails the script with WHAT (and E2E_WHY, what COMMAND last saw) when the deadline,
# scaled to the machine, passes or the program ends meanwhile.
e2e_wait_until() {
    local limit=$1 what=$2 start=$SECONDS
    shift 2
    E2E_WHY=
    while :; do
        "$@" && return 0
        [ -z "$E2E_APP" ] || e2e_app_alive || e2e_fail "the program ended while waiting for $what"
        if ((SECONDS - start >= limit)); then
            local scaled
            scaled=$(e2e_scaled "$limit")
            ((SECONDS - start < scaled)) || e2e_fail "no $what within ${scaled}s${E2E_WHY:+ ($E2E_WHY)}"
        fi
        sleep 0.2
    done
}

# e2e_wait_end WHAT [PARENT]: waits for the program to end by itself after WHAT; sets
# E2E_STATUS to its exit status, or to PARENT's where it runs under a wrapper.
e2e_app_gone() { ! e2e_app_alive "$1"; }
e2e_wait_end() {
    local app=$E2E_APP
    E2E_APP=
    e2e_wait_until "$E2E_SCREEN_DEADLINE_S" "the program to end after $1" e2e_app_gone "$app"
    E2E_APP=$app
    wait "${2:-$app}"
    E2E_STATUS=$?
}

# The program's CPU time so far, its processes below E2E_APP included, in clock ticks.
e2e_app_cpu() {
    local pid ticks=0 stat
    for pid in "$E2E_APP" $(pgrep -P "$E2E_APP"); do
        stat=$(cat "/proc/$pid/stat" 2>/dev/null) || continue
        read -r -a stat <<<"${stat##*) }"
        ticks=$((ticks + stat[11] + stat[12]))
    done
    echo "$ticks"
}
# e2e_settle: after an action on the window, gives the window manager and the program a
# second (scaled to the machine) to act on it, then waits until the program has used no
# CPU for half a second, that is until it has handled what the action brought it.
e2e_settle() {
    e2e_sleep 1
    local last=-1 now
    quiet() {
        now=$(e2e_app_cpu)
        [ "$now" = "$last" ] && return 0
        last=$now
        sleep 0.3
        return 1
    }
    e2e_wait_until "$E2E_SCREEN_DEADLINE_S" "the program to settle" quiet
}

# The visible main window of the program once the game has set its caption (at its first
# paint); sets E2E_WID.
e2e_find_window() {
    E2E_WID=$(xdotool search --all --onlyvisible --pid "$E2E_APP" --name ' -- Version ' 2>/dev/null |
        head -n 1)
    # The search may match the caption in one of the window's two name properties while
    # the other one still holds the old caption; wait for the one getwindowname reads.
    [ -n "$E2E_WID" ] && [[ $(e2e_caption) == *" -- Version "* ]]
}
e2e_wait_window() {
    e2e_wait_until "$E2E_START_DEADLINE_S" "window with the game's caption" e2e_find_window
    e2e_log "window $E2E_WID: $(xdotool getwindowname "$E2E_WID")"
}

# e2e_caption: the main window's caption.
e2e_caption() {
    xdotool getwindowname "$E2E_WID" 2>/dev/null
}

# e2e_focus: gives the main window the keyboard focus.
e2e_focus() {
    if [ "$E2E_WM" != none ]; then
        timeout "$(e2e_scaled 5)" xdotool windowactivate --sync "$E2E_WID" >/dev/null 2>&1 ||
            timeout "$(e2e_scaled 5)" xdotool windowfocus --sync "$E2E_WID" >/dev/null 2>&1
    else
        timeout "$(e2e_scaled 5)" xdotool windowfocus --sync "$E2E_WID" >/dev/null 2>&1
    fi
}

# e2e_grab FILE: a screenshot of the whole screen into FILE (a compositor's own tool
# replaces it where the screen is not the X server's).
e2e_grab() {
    import -window root "$1" 2>>"$E2E_OUT/$E2E_NAME-import.log"
}
# e2e_shot NAME: a screenshot of the whole screen into OUT_DIR/<run>-NAME.png; sets
# E2E_SHOT, E2E_SHOT_AT and E2E_SHOT_DONE. Fails only when none can be taken at all.
e2e_shot() {
    E2E_SHOT="$E2E_OUT/$E2E_NAME-$1.png"
    for _ in 1 2 3; do
        E2E_SHOT_AT=$(e2e_now_ms)
        e2e_grab "$E2E_SHOT" && E2E_SHOT_DONE=$(e2e_now_ms) && return 0
        sleep 0.2
    done
    e2e_fail "no screenshot could be taken"
}

# e2e_px QUERY...: asks pixels.py about the last screenshot (see pixels.py for queries).
e2e_px() {
    python3 "$E2E_LIB/pixels.py" "$E2E_SHOT" "$@"
}

# Absolute screen coordinates of a client point.
e2e_ax() { echo $((E2E_X + $1)); }
e2e_ay() { echo $((E2E_Y + $1)); }

# e2e_count CX CY W H COLOUR: pixels of COLOUR in a rectangle given in client
# coordinates (left, top, width, height) of the last screenshot.
e2e_count() {
    e2e_px count $((E2E_X + $1)) $((E2E_Y + $2)) "$3" "$4" "$5"
}
# e2e_count_rect RECT COLOUR: the same for a rectangle held as "left top right bottom"
# (half-open, client coordinates), as the layout variables below hold them.
e2e_count_rect() {
    local l t r b
    read -r l t r b <<<"$1"
    e2e_count "$l" "$t" $((r - l)) $((b - t)) "$2"
}

# Menu colours missing from the client area of the last screenshot (all of the screen
# before the client area is known); empty when the menu is shown.
e2e_missing_menu_colours() {
    local answers clr i=0 missing=
    local rect
    if [ -n "${E2E_W:-}" ]; then
        rect="$E2E_X $E2E_Y $E2E_W $E2E_H"
    else
        rect="0 0 ${E2E_SCREEN_SIZE%x*} ${E2E_SCREEN_SIZE#*x}"
    fi
    local queries=()
    for clr in "$E2E_TITLE" "${E2E_ENTRY[@]}"; do
        queries+=(present $rect "$clr")
    done
    answers=$(e2e_px "${queries[@]}") || return 1
    for clr in "$E2E_TITLE" "${E2E_ENTRY[@]}"; do
        i=$((i + 1))
        [ "$(sed -n "${i}p" <<<"$answers")" = yes ] || missing+="$clr "
    done
    echo "$missing"
}
e2e_menu_shown() {
    e2e_shot "${1:-menu}"
    local missing
    missing=$(e2e_missing_menu_colours)
    E2E_WHY="menu colours missing: $missing"
    [ -z "$missing" ]
}
# e2e_wait_menu [SHOT_NAME]: waits until the problem menu (title and the four entries)
# is on screen.
e2e_wait_menu() {
    e2e_wait_until "$E2E_SCREEN_DEADLINE_S" "menu on screen" e2e_menu_shown "$@"
}

# e2e_client_area: finds the client area of the main window on the screen, from the
# window's geometry and the white of the menu screen under its menu bar (the view is the
# window's central widget: same left, right and bottom, its top under the menu bar).
# Needs a screenshot of the menu screen. Sets E2E_X E2E_Y (origin on the screen), E2E_W
# E2E_H (size), and the layout the game computes from the size (e2e_layout).
e2e_client_area() {
    local info wx wy ww wh top
    info=$(xwininfo -id "$E2E_WID") || e2e_fail "xwininfo on window $E2E_WID"
    wx=$(sed -n 's/.*Absolute upper-left X: *//p' <<<"$info")
    wy=$(sed -n 's/.*Absolute upper-left Y: *//p' <<<"$info")
    ww=$(sed -n 's/.*Width: *//p' <<<"$info")
    wh=$(sed -n 's/.*Height: *//p' <<<"$info")
    # The menu screen is white at the left edge of the client area from its top down:
    # the client area starts at the first row of the all-white run that ends the window.
    top=$(e2e_px white_tail "$((wx + 1))" "$wy" 8 "$wh") || e2e_fail "reading $E2E_SHOT"
    [ "$top" != none ] || e2e_fail "no white client area in window ${ww}x${wh}+$wx+$wy"
    E2E_X=$wx
    E2E_Y=$top
    E2E_W=$ww
    E2E_H=$((wy + wh - top))
    e2e_log "window ${ww}x${wh}+$wx+$wy; client area ${E2E_W}x${E2E_H}+$E2E_X+$E2E_Y"
    e2e_layout
}

# e2e_layout: the game's layout for a client area of E2E_W by E2E_H, in client
# coordinates; rectangles as "left top right bottom" (half-open).
#   E2E_UX E2E_UY       layout units
#   E2E_LEFT_PT E2E_RIGHT_PT   "x y" centres of the two shape squares
#   E2E_RECT_LEFT E2E_RECT_RIGHT E2E_RECT_BOTH   the shape squares and their span
#   E2E_RECT_MESSAGE    the message band
#   E2E_RECT_SCORE      the score number's box
#   E2E_RECT_TITLE      the title's box
#   E2E_SLOT[0..3]      the menu slots
e2e_layout() {
    local w=$E2E_W h=$E2E_H
    E2E_UX=$((w / 98))
    E2E_UY=$((h / 69))
    local ux=$E2E_UX uy=$E2E_UY cx=$((w / 2)) cy=$((h / 2))
    local lx=$((cx - 190)) rx=$((cx + 190)) sy=$((cy + 90))
    local font=$((ux * 39 / 20))
    E2E_LEFT_PT="$lx $sy"
    E2E_RIGHT_PT="$rx $sy"
    E2E_RECT_LEFT="$((lx - 168)) $((sy - 168)) $((lx + 168)) $((sy + 168))"
    E2E_RECT_RIGHT="$((rx - 168)) $((sy - 168)) $((rx + 168)) $((sy + 168))"
    E2E_RECT_BOTH="$((lx - 30)) $((sy - 168)) $((rx + 30)) $((sy + 168))"
    local mb=$((6 * uy + 8 * font))
    E2E_RECT_MESSAGE="$((4 * ux)) $((6 * uy)) $((w - 4 * ux)) $mb"
    E2E_RECT_SCORE="$((w - 10 * ux)) $((ux / 2)) $((w - 2 * ux)) $((4 * uy))"
    E2E_RECT_TITLE="$((cx - 10 * ux)) 0 $((cx + 10 * ux)) $((4 * uy))"
    local i top
    E2E_SLOT=()
    for i in 0 1 2 3; do
        top=$((mb + (6 * i + 3) * uy))
        E2E_SLOT[i]="$((6 * ux)) $top $((w - 6 * ux)) $((top + 4 * uy))"
    done
}

# e2e_click X Y [BUTTON]: moves the pointer to the client point (X, Y) and clicks
# (1 left, 3 right).
e2e_click() {
    local x y here
    x=$(e2e_ax "$1")
    y=$(e2e_ay "$2")
    here=$(xdotool getmouselocation 2>/dev/null | sed -n 's/^x:\([0-9]*\) y:\([0-9]*\) .*/\1 \2/p')
    # A synchronous move to where the pointer already is waits for a motion that never
    # comes; only a real move is waited for.
    if [ "$here" != "$x $y" ]; then
        timeout "$(e2e_scaled 10)" xdotool mousemove --sync "$x" "$y" ||
            e2e_fail "xdotool could not move to $1,$2"
    fi
    xdotool click "${3:-1}" || e2e_fail "xdotool could not click at $1,$2"
}

# e2e_key KEY...: presses and releases each key, one at a time, on the focused window.
e2e_key() {
    xdotool key --delay 60 "$@" || e2e_fail "xdotool could not press $*"
}

# e2e_choose_problem P: clicks inside the menu slot of problem P (1 to 4, all open).
e2e_choose_problem() {
    local l t r b
    read -r l t r b <<<"${E2E_SLOT[$1 - 1]}"
    # The entry text begins after three blanks at the slot's left; its middle row.
    e2e_click $((l + 12 * E2E_UX)) $(((t + b) / 2))
}
