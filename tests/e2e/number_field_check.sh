#!/usr/bin/env bash
# The real program under Xvfb: leaving the number field with a text that is not a number
# shows "You must input numeric entry." once, and after OK the focus is back in the field
# (what is typed next lands there); the box taking the focus starts no second check.
# Usage: number_field_check.sh path/to/orvella
set -euo pipefail

bin="$(readlink -f "$1")"

if [[ "${2:-}" != "--inside-x" ]]; then
    work="$(mktemp -d)"
    trap 'rm -rf "$work"' EXIT
    export ORVELLA_E2E_WORK="$work"
    status=0
    xvfb-run -a -s "-screen 0 1280x800x24" bash "$0" "$bin" --inside-x || status=$?
    exit "$status"
fi

work="$ORVELLA_E2E_WORK"
export XDG_CONFIG_HOME="$work/config" XDG_RUNTIME_DIR="$work/runtime"
mkdir -p "$XDG_CONFIG_HOME"
mkdir -p -m 700 "$XDG_RUNTIME_DIR"
settings="$XDG_CONFIG_HOME/Velmora/Orvella.ini"

fail() {
    echo "FAIL: $*" >&2
    [[ -f "$settings" ]] && { echo "--- $settings"; cat "$settings"; } >&2
    exit 1
}

"$bin" >"$work/orvella.log" 2>&1 &
pid=$!
trap 'kill -KILL "$pid" 2>/dev/null || true' EXIT

windows() { xdotool search --onlyvisible --pid "$pid" 2>/dev/null || true; }
window_count() { windows | grep -c . || true; }
alive() { kill -0 "$pid" 2>/dev/null || fail "the program ended"; }

window=""
while [[ -z "$window" ]]; do
    alive
    window="$(xdotool search --onlyvisible --pid "$pid" --name '^Orvella$' 2>/dev/null | head -n 1 || true)"
    [[ -n "$window" ]] || sleep 0.1
done

click_twips() { xdotool mousemove --window "$window" $(( $1 / 15 )) $(( $2 / 15 )) click 1; }
wait_for_setting() {
    until [[ -f "$settings" ]] && grep -qx "$1" "$settings"; do alive; sleep 0.05; done
}
wait_for_windows() {
    until [[ "$(window_count)" == "$1" ]]; do alive; sleep 0.05; done
}

# "Keep only this number of names per last name:" enables the number field.
click_twips 510 6770
wait_for_setting "Check2=1"
# Into the field (frame "Filter Options" at 120,5640; the field at 4680,960 in it), type.
click_twips 5100 6770
xdotool key End
xdotool type x
wait_for_setting "Text1=5x"

# Leave it with Tab: one message box.
xdotool key Tab
wait_for_windows 2
box="$(windows | grep -vx "$window" | head -n 1)"
[[ "$(xdotool getwindowname "$box")" == "Orvella" ]] || fail "the message box does not carry the application title"

# OK: the box goes and stays gone; typing goes on in the number field.
xdotool key Return
wait_for_windows 1
xdotool type y
wait_for_setting "Text1=5xy"
[[ "$(window_count)" == 1 ]] || fail "a second message box appeared"

# Every time it is left while wrong.
xdotool key Tab
wait_for_windows 2
xdotool key Return
wait_for_windows 1

# A number leaves quietly: the next key goes to the next control, not the field.
xdotool key BackSpace BackSpace
wait_for_setting "Text1=5"
xdotool key Tab
xdotool type z
xdotool key Tab
click_twips 510 6770   # untick: a click the program must still take
wait_for_setting "Check2=0"
grep -qx "Text1=5" "$settings" || fail "the number field took keys after it was left"
[[ "$(window_count)" == 1 ]] || fail "a message box appeared for a number"

echo "PASS: the number field check shows one box and gives the focus back"
