#!/usr/bin/env bash
# Grouping, end to end: the real program under Xvfb loads a roster with a Homeroom
# column, Order > Group By Column… is answered "Homeroom" (by its first letter, then
# Return), the names are sorted, and File > Export Results writes a CSV with the First
# name and Last name columns ticked in its dialog. The file must hold the rows homeroom
# by homeroom in natural order (7B, 9, 10A), each homeroom in last-name order, the row
# without a homeroom last, each row led by its first and last name.
# Usage: grouped_export.sh path/to/orvella
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
e2e_begin "$@"

printf '%s\r\n' 'Last name,First name,Homeroom,Email' \
  'Lee,Bob,10A,bob@example.org' \
  'Ray,Cy,7B,cy@example.org' \
  'Ames,Ann,10A,ann@example.org' \
  'Lee,Di,7B,di@example.org' \
  'Cole,Eve,9,eve@example.org' \
  'Zorn,Al,,al@example.org' >"$FILES/roster.csv"

start_program
load_table "$FILES/roster.csv"

key_in "$MAIN" alt+o
key_in "$MAIN" g # Order > Group By Column…
group=$(wait_for_window '^Group By Column$')
key_in "$group" h # the "Group by" box: Homeroom
key_in "$group" Return
wait_gone "$group"
grouping_kept() { [ -f "$SETTINGS" ] && grep -q 'group=2 groups=natural same=name' "$SETTINGS"; }
wait_until "the grouping kept with the header's columns" grouping_kept
sort_names

key_in "$MAIN" ctrl+e # File > Export Results…
dialog=$(wait_for_box)
key_in "$dialog" ctrl+a
type_in "$dialog" "$FILES/grouped.csv"
click_in "$dialog" "First name"
click_in "$dialog" "Last name"
key_in "$dialog" Return
exported() { [ -f "$FILES/grouped.csv" ]; }
wait_until "the exported file" exported

/usr/bin/python3 - "$FILES/grouped.csv" <<'PY' || fail "the exported rows are not grouped by homeroom in last-name order"
import csv, io, sys
text = open(sys.argv[1], "rb").read().decode("utf-8-sig")
rows = list(csv.reader(io.StringIO(text, newline="")))
header, rows = rows[0], rows[1:]
assert header[:2] == ["First name", "Last name"], header
got = [(r[0], r[1], r[4]) for r in rows]
want = [("Di", "Lee", "7B"), ("Cy", "Ray", "7B"), ("Eve", "Cole", "9"),
        ("Ann", "Ames", "10A"), ("Bob", "Lee", "10A"), ("Al", "Zorn", "")]
assert got == want, got
PY

alive
pass "a roster grouped by homeroom exports homeroom by homeroom, each in last-name order"
