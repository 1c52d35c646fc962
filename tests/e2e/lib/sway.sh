# SPDX-License-Identifier: MIT
# The game under sway, a tiling Wayland compositor, on its headless output. Sourced by
# window_e2e.sh after common.sh. sway refuses to run as root, so under root it and every
# client of it run as the unprivileged user nobody, in a folder of that user's in /tmp.

SWAY_DIR=
SWAY_SOCKET=
SWAY_IPC=
sway_as_user() {
    if [ "$(id -u)" -eq 0 ]; then
        setpriv --reuid=nobody --regid=nogroup --clear-groups "$@"
    else
        "$@"
    fi
}
sway_env() {
    sway_as_user env -u DISPLAY HOME="$SWAY_DIR" XDG_RUNTIME_DIR="$SWAY_DIR/run" \
        WAYLAND_DISPLAY="$SWAY_SOCKET" SWAYSOCK="$SWAY_IPC" "$@"
}
# sway has made its Wayland socket and its command socket; sets both names.
sway_ready() {
    SWAY_SOCKET=$(cd "$SWAY_DIR/run" && ls wayland-? 2>/dev/null | head -n 1)
    SWAY_IPC=$(ls "$SWAY_DIR"/run/sway-ipc.*.sock 2>/dev/null | head -n 1)
    [ -n "$SWAY_SOCKET" ] && [ -n "$SWAY_IPC" ]
}

# Screenshots come from the compositor, not from the X server.
e2e_grab() {
    sway_env grim -o HEADLESS-1 "$SWAY_DIR/shot.png" 2>>"$E2E_OUT/$E2E_NAME-grim.log" &&
        cp "$SWAY_DIR/shot.png" "$1"
}

sway_case() {
    command -v sway >/dev/null || e2e_fail "sway is not installed"
    command -v grim >/dev/null || e2e_fail "grim is not installed"
    # A folder in /tmp, which the unprivileged user reaches wherever the build tree is.
    SWAY_DIR=$(mktemp -d /tmp/tessix-sway.XXXXXX) || e2e_fail "no folder for sway"
    trap 'e2e_cleanup; rm -rf "$SWAY_DIR"' EXIT
    chmod 755 "$SWAY_DIR" && mkdir -m 700 "$SWAY_DIR/run"
    echo 'output HEADLESS-1 resolution 1920x1080' >"$SWAY_DIR/config"
    # The program runs from a copy the unprivileged user can reach.
    cp "$E2E_TESSIX" "$SWAY_DIR/tessix"
    [ "$(id -u)" -eq 0 ] && chown -R nobody:nogroup "$SWAY_DIR"
    sway_as_user env -u DISPLAY -u WAYLAND_DISPLAY -u SWAYSOCK HOME="$SWAY_DIR" \
        XDG_RUNTIME_DIR="$SWAY_DIR/run" WLR_BACKENDS=headless WLR_RENDERER=pixman \
        WLR_LIBINPUT_NO_DEVICES=1 sway -c "$SWAY_DIR/config" >"$E2E_OUT/$E2E_NAME-sway.log" 2>&1 &
    E2E_PIDS+=("$!")
    e2e_wait_until 30 "sway's sockets" sway_ready
    local mark
    mark=$(e2e_cpu_mark)
    sway_env QT_QPA_PLATFORM=wayland SDL_AUDIODRIVER=dummy "$SWAY_DIR/tessix" --seed 5 --mute \
        >"$E2E_OUT/$E2E_NAME-tessix.log" 2>&1 &
    E2E_APP=$!
    E2E_PIDS+=("$E2E_APP")
    e2e_wait_menu menu
    e2e_judge_time "the menu on screen after the start" $((E2E_SHOT_DONE - ${mark%% *})) 2000 "$mark"
    sway_env swaymsg -q fullscreen toggle || e2e_fail "swaymsg fullscreen toggle"
    expect_whole_menu "sway's fullscreen toggle" fullscreen
    sway_env swaymsg -q fullscreen toggle || e2e_fail "swaymsg fullscreen toggle back"
    sway_env swaymsg -q floating toggle || e2e_fail "swaymsg floating toggle"
    expect_whole_menu "sway's floating toggle" floating
}
