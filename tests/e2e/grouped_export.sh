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

# The same results as a PDF document through the same dialog: a page per homeroom, each
# headed by its homeroom and holding its rows in last-name order.
command -v pdftotext >/dev/null || { echo "SKIP: no pdftotext (poppler-utils)"; exit 0; }
key_in "$MAIN" ctrl+e # File > Export Results…
choose_file "$FILES/grouped.pdf"
choices=$(wait_for_window '^Export Results$')
key_in "$choices" Return # Save, with the choices proposed
wait_gone "$choices"
printed() { [ -s "$FILES/grouped.pdf" ]; }
wait_until "the PDF document" printed
pdftotext -layout "$FILES/grouped.pdf" "$FILES/grouped.txt"
/usr/bin/python3 - "$FILES/grouped.txt" <<'PY' || fail "the PDF is not a page per homeroom in last-name order"
import sys
pages = [[line.strip() for line in page.splitlines() if line.strip()]
         for page in open(sys.argv[1], encoding="utf-8").read().split("\f")]
pages = [page for page in pages if page]
want = [("Homeroom: 7B", ["Lee, Di", "Ray, Cy"]), ("Homeroom: 9", ["Cole, Eve"]),
        ("Homeroom: 10A", ["Ames, Ann", "Lee, Bob"]), ("Homeroom: (empty)", ["Zorn, Al"])]
assert len(pages) == len(want), pages
for page, (heading, rows) in zip(pages, want):
    assert heading in page, (heading, page)
    after = page[page.index(heading) + 1:]
    assert [line for line in after if ", " in line] == rows, (heading, page)
PY
alive
pass "the grouped roster prints a page per homeroom, each in last-name order"
