#!/usr/bin/env bash
# The real program under Xvfb: a click on "Sort by First/Last" is on disk at once, so a
# program killed with SIGKILL right after it starts again with that choice restored.
# Usage: settings_survive_kill.sh path/to/orvella
set -euo pipefail

bin="$(readlink -f "$1")"

if [[ "${2:-}" != "--inside-x" ]]; then
    work="$(mktemp -d)"
    trap 'rm -rf "$work"' EXIT
    export ORVELLA_E2E_WORK="$work"
    exec_status=0
    xvfb-run -a -s "-screen 0 1280x800x24" bash "$0" "$bin" --inside-x || exec_status=$?
    exit "$exec_status"
fi

work="$ORVELLA_E2E_WORK"
export XDG_CONFIG_HOME="$work/config"
export XDG_RUNTIME_DIR="$work/runtime"
mkdir -p "$XDG_CONFIG_HOME"
mkdir -p -m 700 "$XDG_RUNTIME_DIR"
settings="$XDG_CONFIG_HOME/Velmora/Orvella.ini"
pid=""

fail() {
    echo "FAIL: $*" >&2
    [[ -f "$settings" ]] && { echo "--- $settings"; cat "$settings"; } >&2
    exit 1
}

# Starts the program and waits until its main window is on the screen.
start_program() {
    "$bin" >"$work/orvella.log" 2>&1 &
    pid=$!
    window=""
    while [[ -z "$window" ]]; do
        kill -0 "$pid" 2>/dev/null || fail "the program ended before showing its window"
        window="$(xdotool search --onlyvisible --pid "$pid" --name '^Orvella$' 2>/dev/null | head -n 1 || true)"
        [[ -n "$window" ]] || sleep 0.1
    done
}

# Clicks at a point given in twips relative to the window's client area (15 twips a pixel).
click_twips() {
    local x=$(( $1 / 15 )) y=$(( $2 / 15 ))
    xdotool mousemove --window "$window" "$x" "$y" click 1
}

# Waits, while the program runs, until the settings file holds the line.
wait_for_setting() {
    until [[ -f "$settings" ]] && grep -qx "$1" "$settings"; do
        kill -0 "$pid" 2>/dev/null || fail "the program ended while waiting for '$1'"
        sleep 0.05
    done
}

kill_program() {
    kill -KILL "$pid"
    wait "$pid" 2>/dev/null || true
}

# Points on the captions of the option buttons: the container offsets (frame "Sort
# Option" at 120,3480; "Last/First Additional Option" at 480,570 inside it) plus the
# button's own left/top, a little into the caption.
option1=(510 3900)          # Sort by Last/First
option2=(510 5325)          # Sort by First/Last
option4=(1020 4820)         # Sort by last word (inside the inner frame)

# First run: the store is empty; one click on "Sort by First/Last", then SIGKILL.
start_program
click_twips "${option2[@]}"
wait_for_setting "Option2=True"
kill_program
grep -qx "Option1=False" "$settings" || fail "Option1 was not written as False"

# Second run: the choice is back. "Sort by First/Last" disables the inner frame, so a
# click on "Sort by last word" must change nothing; then a click on "Sort by Last/First"
# shows that the program did take clicks.
start_program
click_twips "${option4[@]}"
click_twips "${option2[@]}"   # already selected: no write
click_twips "${option1[@]}"
wait_for_setting "Option1=True"
kill_program
if grep -q "^Option4=" "$settings"; then
    fail "the inner frame took a click: the restore did not select Sort by First/Last"
fi
grep -qx "Option2=False" "$settings" || fail "Option2 was not written as False after Sort by Last/First"

# Third run: the last click is back and the inner frame takes clicks again.
start_program
click_twips "${option4[@]}"
wait_for_setting "Option4=True"
kill_program
grep -qx "Option3=False" "$settings" || fail "Option3 was not written as False"

echo "PASS: choices survive SIGKILL and come back at the next start"
