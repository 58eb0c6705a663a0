# Shared by the end-to-end scripts (sourced, not run). Each script runs the real
# program under Xvfb, with settings, runtime and temporary folders of its own, and
# drives it only from outside the process: xdotool for clicks and keys, xclip for the
# clipboard, files for loads and saves.
#
#   source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
#   e2e_begin "$@"       # re-runs the script inside a fresh X server; returns there
#   start_program        # sets PID and MAIN (the main window's id)
#   click "Load Sample/Example Names"; click "Remove duplicates from results"; ...
#   pass "what was shown"
#
# There is no window manager under Xvfb: windows are found by the program's pid and
# their titles, and keyboard focus is given explicitly. Controls are found as a screen
# reader finds them, by the caption or name a user sees, at the place the running
# window's accessibility tree gives (support/controls.py). Every wait has a time limit,
# and every wait fails at once when the program has ended or shows an "Application Error".

set -euo pipefail

# Seconds any single wait may take before the test fails.
E2E_TIMEOUT=${E2E_TIMEOUT:-20}
# The X server's screen (E2E_SCREEN, set before e2e_begin): 1280x1024 by default.

# ---- Where the controls are: in the window as it is now (a larger window has moved and
# stretched them), as its accessibility tree shows them.
CONTROLS="$(dirname "${BASH_SOURCE[0]}")/support/controls.py"

# controls_of window: the controls of one of the program's windows, one a line: x y
# width height (within the window), a tab, the role, a tab, the name.
controls_of() { /usr/bin/python3 "$CONTROLS" "$PID" "$(box_title "$1")"; }
# focused_control: the role and the name of the control that has the keyboard focus.
focused_control() { /usr/bin/python3 "$CONTROLS" "$PID" --focused || true; }

# control_place "Name" [window]: x y width height role of the control of that name (a
# caption, or the name a list or field is read by) in the window (the main window by
# default).
control_place() {
  local window=${2:-$MAIN} line
  line=$(controls_of "$window" | awk -F'\t' -v name="$1" '$3 == name { print $1 " " $2; exit }')
  [ -n "$line" ] || fail "no control named \"$1\" in the window \"$(box_title "$window")\""
  echo "$line"
}

# control_point "Name" [window]: the point a click on the control aims at, in pixels
# from its window's top left corner: the centre of a push button, list or field; for an
# option button or check box a point on its box or circle (they take clicks there and
# on their text only).
control_point() {
  local x y width height role
  read -r x y width height role <<<"$(control_place "$@")"
  case "$role" in
  "check box" | "radio button") echo "$((x + 8)) $((y + height / 2))" ;;
  *) echo "$((x + width / 2)) $((y + height / 2))" ;;
  esac
}

# ---- Running inside X ---------------------------------------------------------------

# Call first with the script's arguments ($1: the orvella binary). Outside X it makes
# the work folder, runs the script again under xvfb-run and exits with its status;
# inside X it sets up the environment and returns.
e2e_begin() {
  ORVELLA=$(readlink -f "${1:?usage: $0 path/to/orvella}")
  if [ "${2:-}" != "--inside-x" ]; then
    [ -x "$ORVELLA" ] || { echo "FAIL: no program at $1" >&2; exit 1; }
    local work status attempt
    work=$(mktemp -d)
    export WORK="$work"
    status=0
    # A display number taken by a parallel run between xvfb-run's check and the
    # server's start leaves the script without a usable server: try again then. A
    # session bus of its own carries the accessibility bus the controls are found on.
    # -noreset: by default the server resets whenever its last client leaves (between
    # two xdotool calls, or when the program is killed), and a program starting during
    # that reset cannot connect.
    for attempt in 1 2 3; do
      status=0
      xvfb-run -a -s "-screen 0 ${E2E_SCREEN:-1280x1024x24} -noreset" \
        dbus-run-session -- bash "$0" "$ORVELLA" --inside-x || status=$?
      [ -e "$work/inside" ] && break
      sleep 0.5
    done
    if [ "$status" -ne 0 ] && [ -n "${E2E_KEEP:-}" ]; then
      echo "work folder kept: $work" >&2
    else
      rm -rf "$work"
    fi
    exit "$status"
  fi

  : "${WORK:?}"
  xdotool getdisplaygeometry >/dev/null 2>&1 || { echo "no usable X server at $DISPLAY" >&2; exit 1; }
  touch "$WORK/inside"
  mkdir -p "$WORK/config" "$WORK/tmp" "$WORK/files"
  mkdir -p -m 700 "$WORK/runtime"
  export XDG_CONFIG_HOME="$WORK/config" XDG_RUNTIME_DIR="$WORK/runtime" TMPDIR="$WORK/tmp"
  export QT_QPA_PLATFORM=xcb
  # The program shows its controls to the accessibility bus, started before it.
  export QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1
  /usr/bin/python3 "$CONTROLS" --bus || { echo "no accessibility bus (scripts/deps installs it)" >&2; exit 1; }
  # The program's own file dialogs, whatever desktop the tests are started from.
  unset QT_QPA_PLATFORMTHEME XDG_CURRENT_DESKTOP DESKTOP_SESSION GNOME_DESKTOP_SESSION_ID KDE_FULL_SESSION
  SETTINGS="$XDG_CONFIG_HOME/Velmora/Orvella.ini"
  FILES="$WORK/files"
  PID=""
  MAIN=""
  trap stop_program EXIT
}

# Notes an action in the work folder's journal; a failure shows the last ones.
journal() { [ -z "${WORK:-}" ] || echo "$(date +%T.%N | cut -c1-12) $*" >>"$WORK/actions.log"; }

fail() {
  echo "FAIL: $*" >&2
  if [ -n "${WORK:-}" ]; then
    if [ -s "$WORK/actions.log" ]; then
      echo "--- last actions" >&2
      tail -n 8 "$WORK/actions.log" >&2
    fi
    if [ -s "$WORK/orvella.log" ]; then
      echo "--- program output (last lines)" >&2
      tail -n 20 "$WORK/orvella.log" >&2
    fi
    if [ -f "${SETTINGS:-/nonexistent}" ]; then
      echo "--- $SETTINGS" >&2
      cat "$SETTINGS" >&2
    fi
    echo "--- visible windows" >&2
    local id
    for id in $(xdotool search --onlyvisible --name '.' 2>/dev/null || true); do
      echo "$id $(xdotool getwindowname "$id" 2>/dev/null || true)" >&2
    done
    # With E2E_KEEP set the work folder stays, with a picture of the screen.
    if [ -n "${E2E_KEEP:-}" ] && command -v import >/dev/null; then
      import -window root "$WORK/failure.png" 2>/dev/null && echo "screen: $WORK/failure.png" >&2
    fi
  fi
  exit 1
}

pass() { echo "PASS: $*"; }

# The program still runs and shows no error report.
alive() {
  [ -n "$PID" ] && kill -0 "$PID" 2>/dev/null || fail "the program ended"
  if [ -n "$(xdotool search --onlyvisible --name '^Application Error$' 2>/dev/null || true)" ]; then
    fail "the program showed an error report (\"Application Error\")"
  fi
}

# wait_until "what is awaited" command [args...]: runs the command until it succeeds.
wait_until() {
  local what=$1 deadline=$((SECONDS + E2E_TIMEOUT))
  shift
  until "$@"; do
    alive
    [ "$SECONDS" -lt "$deadline" ] || fail "waited ${E2E_TIMEOUT}s for: $what"
    sleep 0.05
  done
}

# The program's visible windows, one id a line; with a pattern, only those whose title
# matches it. Tooltips and popups (the file dialog's completion list) are left out:
# they are no boxes to answer. (--all: xdotool otherwise takes a window that meets
# either condition.)
windows() {
  local id
  for id in $(xdotool search --all --onlyvisible --pid "$PID" --name "${1:-.}" 2>/dev/null || true); do
    is_popup "$id" || echo "$id"
  done
}
is_popup() { xwininfo -id "$1" 2>/dev/null | grep -q 'Override Redirect State: yes'; }
# Visible popups of the program (tooltips, completion lists), whatever their title.
popups() {
  local id
  for id in $(xdotool search --onlyvisible --pid "$PID" 2>/dev/null || true); do
    ! is_popup "$id" || echo "$id"
  done
}
window_count() { windows | grep -c . || true; }

# start_program [ARG...]: starts the program (with these command-line arguments) and
# waits for its main window, focused and ready for clicks.
start_program() {
  # From the work folder: the file dialogs open there, relative paths start there.
  (cd "$WORK" && exec "$ORVELLA" "$@") >>"$WORK/orvella.log" 2>&1 &
  PID=$!
  journal "start (pid $PID) $*"
  MAIN=""
  # The widest window of that title: a box shown while starting ("File not found" for
  # a file named on the command line) carries the same title.
  find_main() {
    local id
    MAIN=$(for id in $(windows '^Orvella$'); do
      echo "$(xwininfo -id "$id" | awk '/Width:/ { print $2 }') $id"
    done | sort -rn | head -n 1 | cut -d ' ' -f 2)
    [ -n "$MAIN" ]
  }
  wait_until "the main window" find_main
  xdotool windowfocus --sync "$MAIN"
  alive
  laid_out() { [[ $(controls_of "$MAIN") == *$'\tpush button\tStart Sorting'* ]]; }
  wait_until "the main window's controls" laid_out
}

# Closes the main window as the close box of a window manager does (there is none under
# Xvfb): a WM_DELETE_WINDOW message to the window.
close_main_window() {
  alive
  journal "close the main window"
  /usr/bin/python3 - "$MAIN" <<'PY'
import sys
from Xlib import X, display
from Xlib.protocol import event
dpy = display.Display()
window = dpy.create_resource_object("window", int(sys.argv[1]))
protocols, delete = dpy.intern_atom("WM_PROTOCOLS"), dpy.intern_atom("WM_DELETE_WINDOW")
window.send_event(event.ClientMessage(window=window, client_type=protocols, data=(32, [delete, X.CurrentTime, 0, 0, 0])))
dpy.flush()
PY
}
# Waits until the program has ended by itself; its exit status is in EXIT_STATUS.
wait_for_exit() {
  ended() { ! kill -0 "$PID" 2>/dev/null; }
  local deadline=$((SECONDS + E2E_TIMEOUT))
  until ended; do
    [ "$SECONDS" -lt "$deadline" ] || fail "waited ${E2E_TIMEOUT}s for the program to end"
    sleep 0.05
  done
  EXIT_STATUS=0
  wait "$PID" || EXIT_STATUS=$?
  journal "ended with status $EXIT_STATUS"
  PID=""
  MAIN=""
}

# Ends the program as a crash or the task manager would.
kill_program() {
  [ -n "$PID" ] || return 0
  journal "SIGKILL"
  kill -KILL "$PID" 2>/dev/null || true
  wait "$PID" 2>/dev/null || true
  PID=""
  MAIN=""
}
stop_program() { kill_program; }

# click "Name": a left click on a control of the main window, by its caption or name.
click() {
  alive
  journal "click $1"
  local point
  point=$(control_point "$1")
  xdotool mousemove --window "$MAIN" $point click 1
}
# click_in window "Name": a left click on a control of another window of the program.
click_in() {
  alive
  journal "click $2 in $(box_title "$1")"
  local point
  point=$(control_point "$2" "$1")
  xdotool mousemove --window "$1" $point click 1
}
# key_in window keys...: keys given to a window (focused first).
key_in() {
  local id=$1
  shift
  alive
  journal "keys $* in $(box_title "$id")"
  xdotool windowfocus --sync "$id"
  xdotool key --clearmodifiers "$@"
}
type_in() {
  alive
  journal "type \"$2\" in $(box_title "$1")"
  xdotool windowfocus --sync "$1"
  xdotool type --clearmodifiers --delay 5 "$2"
}

# Waits for a window of the program other than the main window (a message box, an
# input box, a file dialog) and prints its id.
wait_for_box() {
  local id=""
  other() { id=$(windows | grep -vx "$MAIN" | head -n 1 || true); [ -n "$id" ]; }
  wait_until "a dialog of the program" other
  echo "$id"
}
# wait_for_window "title pattern": the first visible window of the program whose title
# matches; prints its id.
wait_for_window() {
  local id=""
  titled() { id=$(windows "$1" | head -n 1); [ -n "$id" ]; }
  wait_until "a window titled $1" titled "$1"
  echo "$id"
}
box_title() { xdotool getwindowname "$1" 2>/dev/null || true; }
is_gone() { ! windows | grep -qx "$1"; }
wait_gone() { wait_until "window $1 to close" is_gone "$1"; }

# expect_box "title": waits for the next box, checks its title and answers it with
# Return (OK, or Yes where it asks). Prints nothing.
expect_box() {
  local box title
  box=$(wait_for_box)
  title=$(box_title "$box")
  [ "$title" = "$1" ] || fail "expected a box titled \"$1\", got \"$title\""
  key_in "$box" Return
  wait_gone "$box"
}

# choose_file path: answers the file dialog that is coming up with this path, typed
# over whatever its file name field proposes, and Return.
choose_file() {
  local dialog
  dialog=$(wait_for_box)
  key_in "$dialog" ctrl+a
  type_in "$dialog" "$1"
  key_in "$dialog" Return
  # Should the field's completion list have taken that Return, the next one is the
  # dialog's (asked only while the dialog is certainly still there).
  local tries=0
  while ! is_gone "$dialog" && [ $tries -lt 40 ]; do alive; sleep 0.05; tries=$((tries + 1)); done
  if ! is_gone "$dialog"; then
    key_in "$dialog" Return
    wait_gone "$dialog"
  fi
  # The completion list holds the mouse while it is open; a click before it has gone
  # would only close it.
  no_popup() { [ -z "$(popups)" ]; }
  wait_until "the file dialog's completion list to close" no_popup
}

# ---- Commands of the main window, as a user gives them ------------------------------

# Add One Name, answered with this text.
add_name() {
  click "Add One Name"
  local box
  box=$(wait_for_box)
  [ "$(box_title "$box")" = Orvella ] || fail "the input box does not carry the application title"
  type_in "$box" "$1"
  key_in "$box" Return
  wait_gone "$box"
}
# Load List Of Names From File with a table, its columns taken as "Choose Name Columns"
# proposes them.
load_table() {
  click "Load List Of Names From File"
  choose_file "$1"
  local columns
  columns=$(wait_for_window '^Choose Name Columns$')
  key_in "$columns" Return # Load, with the columns it proposes
  wait_gone "$columns"
}
# Start Sorting, and OK to its closing box ("Done.", or the empty list's message).
sort_names() {
  click "Start Sorting"
  expect_box Orvella
}
# copy_expect line...: Copy Results To Clipboard, OK to its message; the clipboard
# then holds exactly these lines.
copy_expect() {
  click "Copy Results To Clipboard"
  expect_box Orvella
  expect_clipboard "$@"
}

# ---- Settings file, clipboard, files ---------------------------------------------------

# has_setting "Key=Value": the settings file holds that line (QSettings writes a
# space in a key as %20).
has_setting() { [ -f "$SETTINGS" ] && grep -qxF -- "$1" "$SETTINGS"; }
wait_for_setting() { wait_until "the setting $1" has_setting "$1"; }

# The clipboard's text, as the program offers it to another program.
clipboard_bytes() { timeout 5 xclip -o -selection clipboard; }

# Shows both sides of a failed comparison, character by character, and fails.
differ() { # expected actual what
  echo "expected:" >&2; echo "$1" >&2
  echo "actual:" >&2; echo "$2" >&2
  fail "$3"
}

# expect_clipboard line...: the clipboard holds exactly these lines, each ending in
# CR LF (no lines: empty).
expect_clipboard() {
  local expected actual
  expected=$( (($# == 0)) || printf '%s\r\n' "$@" | od -An -c)
  actual=$(clipboard_bytes | od -An -c) || fail "xclip could not read the clipboard"
  [ "$actual" = "$expected" ] || differ "$expected" "$actual" "the clipboard does not hold: $*"
}

# expect_same_file actual expected what: the two files are equal byte for byte.
expect_same_file() {
  cmp -s "$1" "$2" || differ "$(od -An -c "$2")" "$(od -An -c "$1" 2>&1)" "$3"
}
