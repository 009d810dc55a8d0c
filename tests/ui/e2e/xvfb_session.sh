# A desktop of its own for a script that drives the programs: Xvfb with openbox and a private
# runtime folder, all ended when the script exits. Sourced; after it, DISPLAY names the display
# and `work` is a scratch folder that is removed at the end.
#
#   source xvfb_session.sh && start_xvfb_session || { echo "Xvfb startet nicht"; exit 1; }

work=$(mktemp -d)
display=""
pids=()
cleanup() {
    for pid in "${pids[@]}"; do
        kill "$pid" 2>/dev/null || true
    done
    rm -rf "$work"
}
trap cleanup EXIT

# Starts the display and the window manager; fails when the display does not answer.
start_xvfb_session() {
    # Xvfb chooses a free display itself and writes its number to descriptor 3, so that runs
    # at the same time on one machine never share a display.
    Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$work/display" >"$work/xvfb.log" 2>&1 &
    pids+=($!)
    for _ in $(seq 100); do
        [ -s "$work/display" ] && break
        sleep 0.05
    done
    display=":$(head -1 "$work/display" 2>/dev/null)"
    export DISPLAY=$display
    for _ in $(seq 50); do
        xdpyinfo >/dev/null 2>&1 && break
        sleep 0.1
    done
    xdpyinfo >/dev/null 2>&1 || return 1
    openbox >"$work/openbox.log" 2>&1 &
    pids+=($!)
    sleep 1
    mkdir -m 700 "$work/runtime"
    export XDG_RUNTIME_DIR=$work/runtime
}
