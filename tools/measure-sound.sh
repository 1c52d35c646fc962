#!/bin/bash
# SPDX-License-Identifier: MIT
# Records what the real program plays for its verdicts and counts the damage: under
# PipeWire (with pipewire-pulse and wireplumber, as GNOME runs it) and under PulseAudio,
# on an idle machine and with two busy processes, each on a private session of its own.
#
#   tools/measure-sound.sh TESSIX OUT_DIR [ANSWERS] [SERVERS] [LOADS]
#     TESSIX   the program (for example build/tessix)
#     OUT_DIR  recordings, logs and screenshots are left here
#     ANSWERS  verdicts per run, at most 12 (default 12: problems 1, 2 and 4 in turn)
#     SERVERS  default "pipewire pulseaudio";  LOADS  default "idle busy"
#   BUSY=N in the environment sets how many spinning processes "busy" runs (default 2).
#
# Each run starts a session bus and the audio server in a private XDG_RUNTIME_DIR, makes
# a null sink the default, records its monitor with parec (16-bit mono, 48 kHz), starts
# the program on an Xvfb with sound on, and answers problems 1, 2 and 4 in turn, each at
# once by a click on its right-hand shape, waiting for the menu to come back each time
# (four of each, so that no problem is used up and the menu keeps its four entries).
# tools/sound_gaps.py then finds every verdict sound in the recording and prints its
# length, its gaps and its full-scale bursts; the summary lines are collected in
# OUT_DIR/summary.txt. The figures in docs/PERFORMANCE.md come from this script.
#
# Needs, besides what the end-to-end tests need: pipewire, pipewire-pulse, wireplumber,
# pulseaudio, pulseaudio-utils (pactl, parec), dbus (dbus-daemon), and the rules file the
# build writes beside the program (target tessix_rules). As root, audio
# servers refuse nothing here, but a desktop user's own session is never touched: every
# server runs in the run's private runtime folder.
set -u
readonly HERE=$(cd "$(dirname "$0")" && pwd)
readonly SOUNDS="$HERE/../res/sounds"

if [ "${1:-}" = --one ]; then
    ONE=1
    shift
fi
[ $# -ge 2 ] || { sed -n '5,11p' "$0" >&2; exit 2; }
TESSIX=$(cd "$(dirname "$1")" && pwd)/$(basename "$1")
OUT=$2
ANSWERS=${3:-12}
SERVERS=${4:-pipewire pulseaudio}
LOADS=${5:-idle busy}

for tool in pipewire pipewire-pulse wireplumber pulseaudio pactl parec dbus-daemon; do
    command -v "$tool" >/dev/null || {
        echo "measure-sound: $tool is not installed (see the header of $0)" >&2
        exit 2
    }
done

if [ -z "${ONE:-}" ]; then
    mkdir -p "$OUT" && : >"$OUT/summary.txt"
    for server in $SERVERS; do
        for load in $LOADS; do
            "$0" --one "$TESSIX" "$OUT" "$ANSWERS" "$server" "$load" || exit 1
        done
    done
    cat "$OUT/summary.txt"
    exit 0
fi

# One run: SERVERS and LOADS name one server and one load.
readonly SERVER=$SERVERS LOAD=$LOADS
# The game's colours and layout rules, which the build writes for the end-to-end scripts
# (target tessix_rules, in the tests of the program's build folder).
export E2E_RULES=${E2E_RULES:-$(dirname "$TESSIX")/tests/rules.sh}
[ -f "$E2E_RULES" ] || { echo "$0: no $E2E_RULES: build the tessix_rules target there" >&2; exit 2; }
source "$HERE/../tests/e2e/lib/common.sh"
e2e_setup "sound-$SERVER-$LOAD" "$TESSIX" "$OUT"
readonly REC="$E2E_OUT/$E2E_NAME.wav"

# start_bg LOG COMMAND...: runs COMMAND in the background, ended with the run.
start_bg() {
    local log=$1
    shift
    "$@" >"$E2E_OUT/$E2E_NAME-$log.log" 2>&1 &
    E2E_PIDS+=("$!")
}

start_audio() {
    local address
    address=$(dbus-daemon --session --fork --print-address=1 --print-pid=1 \
        --nopidfile 2>/dev/null) || e2e_fail "no session bus"
    export DBUS_SESSION_BUS_ADDRESS=$(head -n 1 <<<"$address")
    E2E_PIDS+=("$(sed -n 2p <<<"$address")")
    if [ "$SERVER" = pipewire ]; then
        start_bg pipewire pipewire
        sleep 0.5
        start_bg wireplumber wireplumber
        start_bg pipewire-pulse pipewire-pulse
    else
        start_bg pulseaudio pulseaudio -n --daemonize=no --exit-idle-time=-1 \
            --load=module-native-protocol-unix --load="module-null-sink sink_name=tessix channels=1 rate=48000"
    fi
    e2e_wait_until 20 "$SERVER answering pactl" pactl info >/dev/null
    if [ "$SERVER" = pipewire ]; then
        pactl load-module module-null-sink sink_name=tessix channels=1 rate=48000 >/dev/null ||
            e2e_fail "no null sink"
    fi
    pactl set-default-sink tessix || e2e_fail "cannot make the null sink the default"
    e2e_log "$(pactl info | grep -E '^(Server Name|Default Sink)')"
}

# start_load: BUSY processes that never sleep (two unless set), for the length of the run.
start_load() {
    [ "$LOAD" = busy ] || return 0
    local i
    for ((i = 0; i < ${BUSY:-2}; i++)); do
        sh -c 'while :; do :; done' &
        E2E_PIDS+=("$!")
    done
}

# answer K: the K-th verdict (from 0), on problem 1, 2 or 4 in turn.
answer() {
    local problems=(1 2 4) x y
    local problem=${problems[$1 % 3]}
    e2e_choose_problem "$problem"
    problem_shown() { e2e_shot problem && [ -n "$(e2e_missing_menu_colours)" ]; }
    e2e_wait_until "$E2E_SCREEN_DEADLINE_S" "problem $problem" problem_shown
    read -r x y <<<"$E2E_RIGHT_PT"
    e2e_click "$x" "$y"
    e2e_wait_menu
}

start_audio
# The recorder runs raised where that is allowed (as root), as PipeWire raises its own
# loops: a recorder kept waiting by the busy processes misses a cycle, and the server
# fills its recording with a cycle of silence that the game never played.
RAISED=()
nice -n -11 true 2>/dev/null && RAISED=(nice -n -11)
"${RAISED[@]}" parec -d tessix.monitor --format=s16le --rate=48000 --channels=1 --file-format=wav \
    "$REC" 2>"$E2E_OUT/$E2E_NAME-parec.log" &
readonly PAREC=$!
E2E_PIDS+=("$PAREC")
e2e_start_xvfb 80
start_load
env -u WAYLAND_DISPLAY QT_QPA_PLATFORM=xcb "$E2E_TESSIX" --seed 24 \
    >"$E2E_OUT/$E2E_NAME-tessix.log" 2>&1 &
E2E_APP=$!
E2E_PIDS+=("$E2E_APP")
e2e_wait_window
e2e_wait_menu
e2e_client_area
e2e_focus
for ((k = 0; k < ANSWERS; k++)); do
    answer "$k"
done
sleep 1
kill "$PAREC" && wait "$PAREC" 2>/dev/null
e2e_log "$(grep -c . "$E2E_OUT/$E2E_NAME-tessix.log") line(s) from the program"
python3 "$HERE/sound_gaps.py" "$REC" "$SOUNDS" "$SERVER, $LOAD" | tee "$E2E_OUT/$E2E_NAME.txt"
tail -n 1 "$E2E_OUT/$E2E_NAME.txt" >>"$E2E_OUT/summary.txt"
