#!/usr/bin/env bash
# Save Results As Excel File, end to end: the real program under Xvfb loads the sample
# names, sorts them and exports the results. A stand-in spreadsheet program on the PATH
# makes the desktop count as having one, and a stand-in xdg-open receives the workbook
# the program opens; the workbook is then read back with openpyxl.
# Usage: spreadsheet_export.sh path/to/orvella
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
e2e_begin "$@"

mkdir -p "$WORK/bin"
printf '#!/bin/sh\nexit 0\n' >"$WORK/bin/gnumeric"
# Keeps a copy of what it is asked to open (a file:// address) and how it was asked.
cat >"$WORK/bin/xdg-open" <<'SH'
#!/bin/sh
printf '%s\n' "$@" >"$WORK/opened-arguments"
path=${1#file://}
cp "$path" "$WORK/opened.part" && mv "$WORK/opened.part" "$WORK/opened.xlsx"
SH
chmod 755 "$WORK/bin/gnumeric" "$WORK/bin/xdg-open"
export PATH="$WORK/bin:$PATH"

start_program
click "Load Sample/Example Names"
sort_names
click "Save Results As Excel File"

# The workbook reaches the stand-in xdg-open; no message box may come up meanwhile.
no_box() { [ "$(window_count)" -eq 1 ] || fail "a message box came up instead of the workbook"; }
workbook_opened() { no_box; [ -f "$WORK/opened.xlsx" ]; }
wait_until "the workbook to be opened" workbook_opened
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
pass "the workbook holds the caption and the four sorted names as text"
