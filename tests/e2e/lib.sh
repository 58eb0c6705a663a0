# Shared by the end-to-end scripts (sourced, not run). Each script runs the real
# program under Xvfb, with settings, runtime and temporary folders of its own, and
# drives it only from outside the process: xdotool for clicks and keys, xclip for the
# clipboard, files for loads and saves.
#
#   source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
#   e2e_begin "$@"       # re-runs the script inside a fresh X server; returns there
#   start_program        # sets PID and MAIN (the main window's id)
#   click PushButton7; click Check5; ...
#   pass "what was shown"
#
# There is no window manager under Xvfb: windows are found by the program's pid and
# their titles, keyboard focus is given explicitly, and positions come from the
# controls' twips (/ 15), placed on the client area as measured on the main window
# (see measure_client). Every wait has a time limit, and
# every wait fails at once when the program has ended or shows an "Application Error".

set -euo pipefail

# Seconds any single wait may take before the test fails.
E2E_TIMEOUT=${E2E_TIMEOUT:-20}
# The X server's screen (E2E_SCREEN, set before e2e_begin): 1280x1024 by default.

# ---- Controls of the main window: left top width height, in twips from the window's
# client area (containers' offsets already added: Frame1 at 120,5640; Frame2 at
# 120,3480; Frame3 at 480,570 inside Frame2).
declare -A CONTROL=(
  [ListView1]="120 120 7800 1815"
  [ListView2]="8040 630 7800 4930"
  [PushButton6]="120 2020 3840 405"    # Add One Name
  [PushButton3]="4080 2020 3840 405"   # Load List Of Names From File
  [PushButton1]="120 2530 3840 405"    # Clear List
  [PushButton17]="8040 120 7800 405"   # Start Sorting
  [PushButton4]="8040 5660 3840 405"   # Save Results As Text File
  [PushButton13]="12000 5660 3840 405" # Save Results As Excel File
  [PushButton2]="12000 6170 3840 405"  # Clear Results
  [PushButton5]="8040 6170 3840 405"   # Copy Results To Clipboard
  [PushButton7]="4080 2530 3840 405"   # Load Sample/Example Names
  [PushButton8]="120 3040 3840 405"    # Help
  [PushButton9]="4080 3040 3840 405"   # Save List Of Names To File
  [PushButton15]="6600 4320 840 315"   # List
  [Check5]="360 5940 3525 255"         # Remove duplicates from results
  [Check1]="360 6290 5085 255"         # Keep unique last names, ...
  [Check2]="360 6640 4845 255"         # Keep only this number of names per last name:
  [Text1]="4800 6600 1215 345"
  [Option1]="360 3780 3255 255"        # Sort by Last/First
  [Option2]="360 5205 4455 255"        # Sort by First/Last
  [Option3]="840 4350 5655 255"        # ... ignore common suffixes like Jr. Sr. III etc.
  [Option4]="840 4700 1815 255"        # Sort by last word
)

px() { echo $(( ($1 * 2 + 15) / 30 )); } # twips to pixels, rounded

# ---- Controls of the suffix list editor, likewise.
declare -A EDITOR_CONTROL=(
  [ListView1]="120 120 7800 3015"
  [PushButton6]="120 3580 3840 405"  # Add One
  [PushButton1]="4080 3580 3840 405" # Edit Selected
  [PushButton3]="120 4090 3840 405"  # Delete Selected
  [PushButton5]="4080 4090 3840 405" # Clear List
  [PushButton4]="120 4605 3840 405"  # Load List From File
  [PushButton8]="4080 4605 3840 405" # Save List To Text File
  [PushButton7]="120 5110 3840 405"  # Reset To Default List
  [PushButton2]="4080 5110 3840 405" # Exit
)

# ---- Where the main window's client area is. The menu bar above it and the status
# line below it have heights of their own, and the window can be larger than designed,
# so the client area is measured on the window as shown (measure_client): down the
# middle of the right column the first pixel that is not white is the top edge of
# "Start Sorting", 8 px below the client area's top, and the last one the bottom edge
# of the progress bar, 7 px above the client area's bottom. A larger window gives the
# lists its extra height and every control its share of the width.
CLIENT_TOP=0 CLIENT_W=1064 CLIENT_H=480

# Rows of a window's pixel column x that are not white, top to bottom.
coloured_rows() { # window x
  import -window "$1" -crop "1x4000+$2+0" +repage txt:- 2>/dev/null |
    awk -F'[,:]' 'NR > 1 && !/#FFFFFF/ { print $2 }'
}
measure_client() {
  local width height first last
  eval "$(xdotool getwindowgeometry --shell "$MAIN" | grep -E '^(WIDTH|HEIGHT)=')"
  width=$WIDTH height=$HEIGHT
  painted() {
    local rows
    rows=$(coloured_rows "$MAIN" $((width * 11940 / 15960)))
    first=$(head -n 1 <<<"$rows") last=$(tail -n 1 <<<"$rows")
    # Not yet painted, the window is all one colour: white rows (the menu bar's, the
    # status line's) must frame the coloured ones.
    [ -n "$first" ] && ((first > 8 && last > first && last < height - 8))
  }
  wait_until "the main window to be painted" painted
  CLIENT_TOP=$((first - 8)) CLIENT_W=$width CLIENT_H=$((last + 1 + 7 - CLIENT_TOP))
  journal "client area at $CLIENT_TOP, ${CLIENT_W}x$CLIENT_H in a ${width}x$height window"
}

# control_point Control [TABLE]: the point a click on a control aims at, in pixels
# from its window's top left corner (TABLE: CONTROL, the default, or EDITOR_CONTROL,
# the suffix list editor at its designed size): the centre of a push button, list or
# field; for an option button or check box a point on its box or circle (they take
# clicks there and on their text only).
control_point() {
  local name=$1 left top width height x y extra=0
  local -n table=${2:-CONTROL}
  read -r left top width height <<<"${table[$name]:?unknown control $name}"
  case "$name" in
    Check* | Option*) x=$((left + 150)) ;;
    *) x=$((left + width / 2)) ;;
  esac
  y=$(px $((top + height / 2)))
  if [ "${2:-CONTROL}" = EDITOR_CONTROL ]; then
    echo "$(px "$x") $y"
    return
  fi
  # The lists grow by the extra height; what lies below one moves down by it.
  local more=$((CLIENT_H - 480))
  case "$name" in
    ListView*) extra=$((more / 2)) ;;
    *) if { ((left < 7920 && top >= 1935)) || ((left >= 8040 && top >= 5560)); }; then extra=$more; fi ;;
  esac
  echo "$(((x * CLIENT_W * 2 + 15960) / 31920)) $((CLIENT_TOP + y + extra))"
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
    # server's start leaves the script without a usable server: try again then.
    # -noreset: by default the server resets whenever its last client leaves (between
    # two xdotool calls, or when the program is killed), and a program starting during
    # that reset cannot connect.
    for attempt in 1 2 3; do
      status=0
      xvfb-run -a -s "-screen 0 ${E2E_SCREEN:-1280x1024x24} -noreset" bash "$0" "$ORVELLA" --inside-x || status=$?
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
  measure_client
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

# click Control: a left click on a control of the main window.
click() {
  alive
  journal "click $1"
  xdotool mousemove --window "$MAIN" $(control_point "$1") click 1
}
# click_editor window Control: a left click on a control of the suffix list editor.
click_editor() {
  alive
  journal "click $2 in $(box_title "$1")"
  xdotool mousemove --window "$1" $(control_point "$2" EDITOR_CONTROL) click 1
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
  click PushButton6
  local box
  box=$(wait_for_box)
  [ "$(box_title "$box")" = Orvella ] || fail "the input box does not carry the application title"
  type_in "$box" "$1"
  key_in "$box" Return
  wait_gone "$box"
}
# Start Sorting, and OK to its closing box ("Done.", or the empty list's message).
sort_names() {
  click PushButton17
  expect_box Orvella
}
# copy_expect line...: Copy Results To Clipboard, OK to its message; the clipboard
# then holds exactly these lines.
copy_expect() {
  click PushButton5
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
