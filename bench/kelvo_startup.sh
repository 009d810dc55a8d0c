#!/usr/bin/env bash
# The start-up time of the desktop program: from the start of the process to its first window
# on screen (the start picture) and to the main window (after the picture's three seconds),
# on its own Xvfb display with openbox, as the median of several starts.
#
#   bench/kelvo_startup.sh [KELVO] [RUNS]
#
# KELVO defaults to build/app/gui/kelvo, RUNS to 7.
set -euo pipefail

kelvo=$(realpath "${1:-build/app/gui/kelvo}")
runs=${2:-7}
source "$(dirname "$0")/../tests/ui/e2e/xvfb_session.sh"
start_xvfb_session || {
    echo "Xvfb startet nicht" >&2
    exit 1
}

now_ms() { echo $(($(date +%s%N) / 1000000)); }

# Milliseconds from `start` until a visible window of the program matches the name pattern.
wait_for() {
    local start=$1 pid=$2 pattern=$3
    for _ in $(seq 2000); do
        if xdotool search --all --onlyvisible --pid "$pid" --name "$pattern" >/dev/null 2>&1; then
            echo $(($(now_ms) - start))
            return 0
        fi
        sleep 0.005
    done
    echo "kein Fenster \"$pattern\"" >&2
    return 1
}

first=()
main=()
for _ in $(seq "$runs"); do
    start=$(now_ms)
    (cd "$work" && exec "$kelvo") >"$work/kelvo.log" 2>&1 &
    pid=$!
    first+=("$(wait_for "$start" "$pid" '')")
    main+=("$(wait_for "$start" "$pid" '^Expertensystem Kelvo')")
    kill "$pid"
    wait "$pid" 2>/dev/null || true
done

median() { printf '%s\n' "$@" | sort -n | awk '{ a[NR] = $1 } END { print a[int((NR + 1) / 2)] }'; }
echo "kelvo: first window $(median "${first[@]}") ms, main window $(median "${main[@]}") ms" \
    "(median of $runs starts; the start picture stays 3000 ms)"
