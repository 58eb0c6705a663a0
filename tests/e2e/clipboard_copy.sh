#!/usr/bin/env bash
# Copy Results To Clipboard, end to end: the real program under Xvfb loads the sample
# names, sorts them, copies the results, and a separate process (xclip) reads the X
# clipboard while the program still holds it.
# Usage: clipboard_copy.sh path/to/orvella
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

# Controls are laid out in twips (15 to a pixel); a button's centre relative to the window.
px() { echo $(( ($1 * 2 + 15) / 30 )); }
centre() { echo "$(( $(px "$1") + $(px "$3") / 2 )) $(( $(px "$2") + $(px "$4") / 2 ))"; }
LOAD_SAMPLES=$(centre 4080 2530 3840 405)
START_SORTING=$(centre 8040 120 7800 405)
COPY_RESULTS=$(centre 8040 6170 3840 405)

QT_QPA_PLATFORM=xcb "$orvella" >"$WORK/orvella.log" 2>&1 &
pid=$!
cleanup() { kill "$pid" 2>/dev/null || true; wait "$pid" 2>/dev/null || true; }
trap cleanup EXIT

# The program must still run and must not have shown an error report.
alive() {
  kill -0 "$pid" 2>/dev/null || { cat "$WORK/orvella.log" >&2; fail "orvella ended early"; }
  if [ -n "$(xdotool search --onlyvisible --name '^Application Error$' 2>/dev/null || true)" ]; then
    fail "orvella showed an error report (\"Application Error\")"
  fi
}

# Waits until the program shows a window titled "Orvella" other than the main one and
# prints its id; the program ending instead is a failure (ctest limits the whole run).
visible_windows() { xdotool search --onlyvisible --name '^Orvella$' 2>/dev/null || true; }
wait_for_box() {
  local id
  while :; do
    alive
    for id in $(visible_windows); do
      [ "$id" != "$main" ] && { echo "$id"; return; }
    done
    sleep 0.1
  done
}
wait_box_gone() {
  while visible_windows | grep -qx "$1"; do alive; sleep 0.1; done
}
click() {
  xdotool mousemove --window "$main" $1 click 1
}
dismiss() {
  local box=$1
  xdotool windowfocus --sync "$box"
  xdotool key --clearmodifiers Return
  wait_box_gone "$box"
}

main=""
while [ -z "$main" ]; do
  alive
  main=$(visible_windows | head -n1)
  [ -n "$main" ] || sleep 0.1
done
# Let the window settle (mapped and exposed) before the first click.
xdotool windowfocus --sync "$main"
sleep 0.5

click "$LOAD_SAMPLES"
click "$START_SORTING"
dismiss "$(wait_for_box)" # "Done."
click "$COPY_RESULTS"
dismiss "$(wait_for_box)" # "Results have been copied to the clipboard. ..."

alive
expected=$(printf 'John Smith Jr.\r\nJoe Tavrin\r\nMr. Joe Tavrin\r\nPeter Tavrin\r\n' | od -An -c)
actual=$(xclip -o -selection clipboard | od -An -c) || fail "xclip could not read the clipboard"
if [ "$actual" != "$expected" ]; then
  echo "expected:" >&2; echo "$expected" >&2
  echo "actual:" >&2; echo "$actual" >&2
  fail "the clipboard does not hold the sorted sample names"
fi
echo "PASS: clipboard holds the four sorted names with CR LF"
