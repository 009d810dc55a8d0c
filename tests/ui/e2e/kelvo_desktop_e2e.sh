#!/usr/bin/env bash
# Drives the real kelvo and kelvo-run under Xvfb with openbox as a person would: real key
# presses and mouse clicks through xdotool, no hooks inside the programs. Screenshots of every
# window go to the screenshot folder.
#
#   kelvo_desktop_e2e.sh KELVO KELVO_RUN KELVO_CLI SCREENSHOT_FOLDER
set -euo pipefail

kelvo=$1
kelvo_run=$2
kelvo_cli=$3
screens=$4
mkdir -p "$screens"

source "$(dirname "$0")/xvfb_session.sh"

fail() {
    echo "FEHLER: $*" >&2
    import -display "$display" -window root "$screens/failure.png" 2>/dev/null || true
    exit 1
}

start_xvfb_session || fail "Xvfb startet nicht"

# Waits until a window whose name matches the pattern exists; prints its id.
window() {
    local id
    for _ in $(seq 100); do
        id=$(xdotool search --onlyvisible --name "$1" 2>/dev/null | head -1 || true)
        if [ -n "$id" ]; then
            echo "$id"
            return 0
        fi
        sleep 0.1
    done
    fail "kein Fenster \"$1\""
}
# Waits until no visible window matches the pattern.
gone() {
    for _ in $(seq 100); do
        xdotool search --onlyvisible --name "$1" >/dev/null 2>&1 || return 0
        sleep 0.1
    done
    fail "Fenster \"$1\" bleibt offen"
}
shot() {
    sleep 0.4
    import -window root "$screens/$1.png"
}
focus() {
    xdotool windowactivate --sync "$1" 2>/dev/null || xdotool windowfocus --sync "$1"
    sleep 0.2
}
# Clicks a component of the editor at its design position (left, top, width, height): the
# editor is scaled by 1.9 on a screen of 1280 x 1024.
click_editor() {
    local editor=$1 left=$2 top=$3 width=$4 height=$5
    local x y
    x=$(awk "BEGIN { printf \"%d\", ($left + $width / 2) * 1.9 }")
    y=$(awk "BEGIN { printf \"%d\", ($top + $height / 2) * 1.9 }")
    xdotool mousemove --window "$editor" "$x" "$y" click 1
    sleep 0.3
}
# Waits for a program to end by itself.
# Waits until the program ended and checks that it ended cleanly: a crash or a sanitizer
# report on the way out fails the test too. The program's output is in the log file.
ended() {
    local pid=$1 name=$2 log=$3 status=0
    for _ in $(seq 100); do
        if ! kill -0 "$pid" 2>/dev/null; then
            wait "$pid" || status=$?
            if [ "$status" -ne 0 ]; then
                cat "$log" >&2
                fail "$name endet mit Status $status"
            fi
            return 0
        fi
        sleep 0.1
    done
    fail "$name endet nicht"
}

# ---- kelvo: a new knowledge base typed in the editor, started, answered, closed ----------
cd "$work"
"$kelvo" >"$work/kelvo.log" 2>&1 &
kelvo_pid=$!
pids+=("$kelvo_pid")
sleep 0.8
shot start_window
main=$(window "^Expertensystem Kelvo Version")
shot main_window

# A second start says so and ends before any window of its own appears.
"$kelvo" >"$work/second.log" 2>&1 &
second_pid=$!
pids+=("$second_pid")
box=$(window "^Fehlermeldung$")
shot second_instance
focus "$box"
xdotool key Return
ended "$second_pid" "die zweite Instanz" "$work/second.log"

focus "$main"
xdotool key ctrl+n
dialog=$(window "^Neu$")
shot new_dialog
focus "$dialog"
xdotool type --delay 20 "wetter.wbp"
xdotool key Return
gone "^Neu$"
window "wetter.wbp" >/dev/null
[ -f "$work/wetter.wbp" ] || fail "wetter.wbp wurde nicht angelegt"

focus "$main"
xdotool key ctrl+e
editor=$(window "^Editor$")
focus "$editor"
lines=(
    "K Kleidungsberater"
    "Z KLEIDUNG"
    "R KLEIDUNG . Mantel"
    "U WETTER (90) . kalt"
    "R WETTER . kalt"
    "U JAHRESZEIT (80) . Winter"
    "F JAHRESZEIT (99) . Winter"
    "N WETTER . kalt"
    "T Frage zum Wetter"
    "T Wie warm ist es? ]GRAD      ]"
)
for line in "${lines[@]}"; do
    xdotool key ctrl+a
    xdotool type --delay 15 "$line"
    xdotool key Return
    sleep 0.15
done
xdotool key ctrl+a
xdotool type --delay 15 "K"
shot editor_typed

click_editor "$editor" 512 232 130 25 # "Starten"
page=$(window "^Frage zum Wetter")
shot question_page
focus "$page"
xdotool type --delay 20 "12 Grad"
xdotool key ctrl+w
gone "^Frage zum Wetter"
solution=$(window "^ $")
shot solution_page
focus "$solution"
xdotool key ctrl+w

# Back in the editor on the line it was started from: typing there changes the last line.
editor=$(window "^Editor$")
focus "$editor"
shot editor_after_consultation
xdotool key ctrl+a
xdotool type --delay 15 "K Ende"
click_editor "$editor" 512 281 130 25 # "Schließen"
gone "^Editor$"

focus "$main"
shot main_window_open
xdotool key alt+F4
question=$(window "^Bestätigen$")
shot close_question
focus "$question"
xdotool key Return # "Ja"
ended "$kelvo_pid" "kelvo" "$work/kelvo.log"

expected=$(printf '%s\n' "K Kleidungsberater" "Z KLEIDUNG" \
    "R KLEIDUNG                            . Mantel" \
    "U WETTER                         (90) . kalt" \
    "R WETTER                              . kalt" \
    "U JAHRESZEIT                     (80) . Winter" \
    "F JAHRESZEIT                     (99) . Winter" \
    "N WETTER                              . kalt" \
    "T Frage zum Wetter" \
    "T Wie warm ist es? ]GRAD      ]" \
    "K Ende")
actual=$("$kelvo_cli" export "$work/wetter.wbp")
if [ "$actual" != "$expected" ]; then
    diff <(echo "$expected") <(echo "$actual") >&2 || true
    fail "wetter.wbp hält nicht die getippten Zeilen"
fi

# ---- kelvo-run beside a derived .WBB of its own name ------------------------------------
"$kelvo_cli" compile "$work/wetter.wbp" --seed 1 >/dev/null
[ -f "$work/wetter.WBB" ] || fail "wetter.WBB wurde nicht abgeleitet"
cp "$kelvo_run" "$work/wetter"
"$work/wetter" >"$work/run.log" 2>&1 &
run_pid=$!
pids+=("$run_pid")
page=$(window "^Frage zum Wetter")
shot user_module_page
focus "$page"
xdotool type --delay 20 "3 Grad"
xdotool key ctrl+w
gone "^Frage zum Wetter"
solution=$(window "^ $")
shot user_module_solution
focus "$solution"
xdotool key ctrl+w
ended "$run_pid" "kelvo-run" "$work/run.log"

echo "kelvo und kelvo-run: alle Schritte bestanden"
