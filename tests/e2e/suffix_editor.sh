#!/usr/bin/env bash
# The suffix list editor, end to end: the real program under Xvfb opens it with "List"
# (the main window hides), adds an entry through the input box (stored at once in the
# settings file), closes it with "Exit" (the main window comes back) and is killed; at
# the next start, opening and closing the editor leaves the stored value as it was.
# Usage: suffix_editor.sh path/to/orvella
set -euo pipefail

orvella=$(readlink -f "$1")

if [ "${2:-}" != "--inside" ]; then
  work=$(mktemp -d)
  trap 'rm -rf "$work"' EXIT
  mkdir -m 700 "$work/config" "$work/runtime"
  export XDG_CONFIG_HOME="$work/config" XDG_RUNTIME_DIR="$work/runtime" WORK="$work"
  # No window manager: windows are addressed by id, focus is given explicitly.
  exec xvfb-run -a -s "-screen 0 1280x1024x24" bash "$0" "$orvella" --inside
fi

fail() { echo "FAIL: $*" >&2; exit 1; }

# Controls are laid out in twips (15 to a pixel); a control's centre relative to its window.
px() { echo $(( ($1 * 2 + 15) / 30 )); }
centre() { echo "$(( $(px "$1") + $(px "$3") / 2 )) $(( $(px "$2") + $(px "$4") / 2 ))"; }
LIST=$(centre $((120 + 480 + 6000)) $((3480 + 570 + 270)) 840 315) # inside Frame3 inside Frame2
ADD_ONE=$(centre 120 3580 3840 405)
EXIT=$(centre 4080 5110 3840 405)
# The settings file (QSettings' INI file of application "Velmora", product "Orvella").
stored_list() { cat "$XDG_CONFIG_HOME"/Velmora/Orvella.* 2>/dev/null | grep '^SuffixList=' || true; }

pid=""
start() {
  QT_QPA_PLATFORM=xcb "$orvella" >>"$WORK/orvella.log" 2>&1 &
  pid=$!
}
stop() { [ -n "$pid" ] && { kill -9 "$pid" 2>/dev/null || true; wait "$pid" 2>/dev/null || true; }; pid=""; }
trap stop EXIT

alive() {
  kill -0 "$pid" 2>/dev/null || { cat "$WORK/orvella.log" >&2; fail "orvella ended early"; }
  if [ -n "$(xdotool search --onlyvisible --name '^Application Error$' 2>/dev/null || true)" ]; then
    fail "orvella showed an error report (\"Application Error\")"
  fi
}
visible() { xdotool search --onlyvisible --name "$1" 2>/dev/null || true; }
wait_visible() { # prints the id of the first visible window with this title
  local id=""
  while [ -z "$id" ]; do alive; id=$(visible "$1" | head -n1); [ -n "$id" ] || sleep 0.1; done
  echo "$id"
}
wait_hidden() { while visible "$1" | grep -qx "$2"; do alive; sleep 0.1; done; }
click() { xdotool mousemove --window "$1" $2 click 1; }

# ---- first run ----
start
main=$(wait_visible '^Orvella$')
xdotool windowfocus --sync "$main"
sleep 0.5
click "$main" "$LIST"
editor=$(wait_visible '^Suffix List$')
wait_hidden '^Orvella$' "$main"
[ -z "$(stored_list)" ] || fail "opening the editor wrote the suffix list"

xdotool windowfocus --sync "$editor"
sleep 0.3
click "$editor" "$ADD_ONE"
box=$(wait_visible '^Orvella$') # the input box carries the application title
xdotool windowfocus --sync "$box"
xdotool type --delay 20 "Xyz2e"
xdotool key --clearmodifiers Return
wait_hidden '^Orvella$' "$box"
alive
stored=$(stored_list)
[[ "$stored" == 'SuffixList=BVM!!!TWINE!!!B.V.M.!!!TWINE!!!'*'!!!TWINE!!!USNR!!!TWINE!!!Xyz2e' ]] \
  || fail "the added entry is not stored after the 77 defaults: $stored"

click "$editor" "$EXIT"
wait_hidden '^Suffix List$' "$editor"
[ "$(visible '^Orvella$' | head -n1)" = "$main" ] || fail "the main window did not come back"
alive
stop

# ---- second run: the stored list is read, not rewritten ----
start
main=$(wait_visible '^Orvella$')
xdotool windowfocus --sync "$main"
sleep 0.5
click "$main" "$LIST"
editor=$(wait_visible '^Suffix List$')
xdotool windowfocus --sync "$editor"
sleep 0.3
click "$editor" "$EXIT"
wait_hidden '^Suffix List$' "$editor"
alive
[ "$(stored_list)" = "$stored" ] || fail "the stored list changed without an edit"
echo "PASS: List opens the editor, Add One is stored at once, Exit brings the main window back"
