#!/usr/bin/env bash
# Save Results As Excel File, end to end: the real program under Xvfb loads the sample
# names, sorts them and exports the results. A stand-in spreadsheet program on the PATH
# makes the desktop count as having one, and a stand-in xdg-open receives the workbook
# the program opens; the workbook is then read back with openpyxl.
# Usage: spreadsheet_export.sh path/to/orvella
set -euo pipefail

orvella=$(readlink -f "$1")

if [ "${2:-}" != "--inside" ]; then
  work=$(mktemp -d)
  trap 'rm -rf "$work"' EXIT
  mkdir -m 700 "$work/config" "$work/runtime" "$work/tmp" "$work/bin"
  export XDG_CONFIG_HOME="$work/config" XDG_RUNTIME_DIR="$work/runtime" TMPDIR="$work/tmp" WORK="$work"
  printf '#!/bin/sh\nexit 0\n' >"$work/bin/gnumeric"
  # Keeps a copy of what it is asked to open (a file:// address) and how it was asked.
  cat >"$work/bin/xdg-open" <<'SH'
#!/bin/sh
printf '%s\n' "$@" >"$WORK/opened-arguments"
path=${1#file://}
cp "$path" "$WORK/opened.part" && mv "$WORK/opened.part" "$WORK/opened.xlsx"
SH
  chmod 755 "$work/bin/gnumeric" "$work/bin/xdg-open"
  export PATH="$work/bin:$PATH"
  # No window manager: windows are addressed by id, focus is given explicitly.
  exec xvfb-run -a -s "-screen 0 1280x1024x24" bash "$0" "$orvella" --inside
fi

fail() { echo "FAIL: $*" >&2; exit 1; }

# Controls are laid out in twips (15 to a pixel); a button's centre relative to the window.
px() { echo $(( ($1 * 2 + 15) / 30 )); }
centre() { echo "$(( $(px "$1") + $(px "$3") / 2 )) $(( $(px "$2") + $(px "$4") / 2 ))"; }
LOAD_SAMPLES=$(centre 4080 2530 3840 405)
START_SORTING=$(centre 8040 120 7800 405)
SAVE_AS_EXCEL=$(centre 12000 5660 3840 405)

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
visible_windows() { xdotool search --onlyvisible --name '^Orvella$' 2>/dev/null || true; }
other_window() { visible_windows | grep -vx "$main" | head -n1 || true; }
wait_for_box() {
  local id=""
  while [ -z "$id" ]; do alive; id=$(other_window); [ -n "$id" ] || sleep 0.1; done
  echo "$id"
}
wait_box_gone() { while visible_windows | grep -qx "$1"; do alive; sleep 0.1; done; }
click() { xdotool mousemove --window "$main" $1 click 1; }
dismiss() {
  xdotool windowfocus --sync "$1"
  xdotool key --clearmodifiers Return
  wait_box_gone "$1"
}

main=""
while [ -z "$main" ]; do
  alive
  main=$(visible_windows | head -n1)
  [ -n "$main" ] || sleep 0.1
done
xdotool windowfocus --sync "$main"
sleep 0.5

click "$LOAD_SAMPLES"
click "$START_SORTING"
dismiss "$(wait_for_box)" # "Done."
click "$SAVE_AS_EXCEL"

# The workbook reaches the stand-in xdg-open; no message box may come up meanwhile.
while [ ! -f "$WORK/opened.xlsx" ]; do
  alive
  [ -z "$(other_window)" ] || fail "a message box came up instead of the workbook"
  sleep 0.1
done
alive

url=$(head -n1 "$WORK/opened-arguments")
case "$url" in
  file://"$TMPDIR"/orvella-*/*.xlsx) ;;
  *) fail "unexpected address opened: $url" ;;
esac
folder=$(dirname "${url#file://}")
[ "$(stat -c %a "$folder")" = 700 ] || fail "the workbook's folder is open to others: $(stat -c %a "$folder")"

/usr/bin/python3 - "$WORK/opened.xlsx" <<'PY' || fail "the workbook does not hold the results as text"
import sys, openpyxl
sheet = openpyxl.load_workbook(sys.argv[1]).active
cells = [(c.coordinate, c.value, c.data_type) for row in sheet.iter_rows() for c in row]
expected = [("A1", "Result(s)", "s"), ("A2", "John Smith Jr.", "s"), ("A3", "Joe Tavrin", "s"),
            ("A4", "Mr. Joe Tavrin", "s"), ("A5", "Peter Tavrin", "s")]
if cells != expected:
    sys.exit("cells: %r" % (cells,))
if not sheet.column_dimensions["A"].width >= len("John Smith Jr."):
    sys.exit("column A is narrower than its longest text")
PY
echo "PASS: the workbook holds the caption and the four sorted names as text"
