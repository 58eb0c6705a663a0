#!/usr/bin/env bash
# Rows of a table, end to end: the real program under Xvfb loads a CSV with a First and
# a Last column (quoted cells, a line break inside one, a non-ASCII name), takes the
# columns it proposes in "Choose Name Columns", sorts, and exports the results through
# File > Export Results as CSV. The file must hold the input rows whole, in last-name
# order (exact order, the default: a lowercase "de la Cruz" after "Zola"), under
# the input's header: UTF-8 with a byte-order mark, CR LF, quoted as
# RFC 4180 says.
# Then, each in a fresh start: a registration export whose paid order has a name cell of
# only spaces (the row is kept, exported first) and an empty line (skipped); and a
# roster workbook with a title row and a blank row above its header (the header row is
# guessed, the title is no name and is exported above the header, every student's row
# is exported once, in last-name order, "Smith, Jr." / Bob / Lee under Smith, after
# Miller, where its middle name would put it before).
# Usage: table_rows.sh path/to/orvella
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
e2e_begin "$@"

printf '%s\n' 'Id,First name,Last name,Email,Note' \
  '1,Jack,O'"'"'Brien,jack@example.org,"front row, left"' \
  '2,Émile,Zola,emile@example.org,' \
  '3,Ann,Lee,ann@example.org,"says ""hi"""' \
  '4,Martin,de la Cruz,martin@example.org,"two' \
  'lines"' >"$FILES/roster.csv"

start_program
load_table "$FILES/roster.csv"
sort_names

key_in "$MAIN" ctrl+e # File > Export Results…
choose_file "$FILES/sorted.csv"
exported() { [ -f "$FILES/sorted.csv" ]; }
wait_until "the exported file" exported

printf '\xef\xbb\xbf' >"$FILES/expected.csv"
printf '%s\r\n' 'Id,First name,Last name,Email,Note' \
  '3,Ann,Lee,ann@example.org,"says ""hi"""' \
  '1,Jack,O'"'"'Brien,jack@example.org,"front row, left"' \
  '2,Émile,Zola,emile@example.org,' \
  '4,Martin,de la Cruz,martin@example.org,"two' \
  'lines"' >>"$FILES/expected.csv"
# The line break inside the quoted cell is the file's own LF, kept as it was read.
/usr/bin/python3 - "$FILES/expected.csv" <<'PY'
import sys
path = sys.argv[1]
data = open(path, "rb").read().replace(b'"two\r\nlines"', b'"two\nlines"')
open(path, "wb").write(data)
PY
expect_same_file "$FILES/sorted.csv" "$FILES/expected.csv" "the exported rows are not the input rows in last-name order"

alive
pass "a CSV's rows load by their name columns, sort by last name and export whole"

# load_table_export FILE OUT: a fresh program loads the table through "Choose Name
# Columns" as proposed, sorts, and exports the results as CSV to OUT.
load_table_export() {
  EXPORTED=$2
  kill_program
  start_program
  load_table "$1"
  sort_names
  key_in "$MAIN" ctrl+e
  choose_file "$2"
  exported_table() { [ -f "$EXPORTED" ]; }
  wait_until "the exported file $EXPORTED" exported_table
}

printf '%s\r\n' 'Order,Name,Email,Company,Ticket,Paid' \
  '1001,Zoe Adams,zoe@example.org,Acme,Full,yes' \
  '1002,   ,ops@example.com,Initech,Full,yes' \
  '' \
  '1003,Bob Lee,bob@example.org,,Day,yes' >"$FILES/registrations.csv"
load_table_export "$FILES/registrations.csv" "$FILES/registrations-sorted.csv"
printf '\xef\xbb\xbf' >"$FILES/registrations-expected.csv"
printf '%s\r\n' 'Order,Name,Email,Company,Ticket,Paid' \
  '1002,"   ",ops@example.com,Initech,Full,yes' \
  '1001,Zoe Adams,zoe@example.org,Acme,Full,yes' \
  '1003,Bob Lee,bob@example.org,,Day,yes' >>"$FILES/registrations-expected.csv"
# (A cell with spaces at either end is written quoted, as every export writes it.)
expect_same_file "$FILES/registrations-sorted.csv" "$FILES/registrations-expected.csv" \
  "the registration rows are not all exported, the one without a name first"
alive
pass "a paid registration without a name is kept, sorted first and exported with the others"

/usr/bin/python3 - "$FILES/roster.xlsx" <<'PY'
import sys
from openpyxl import Workbook
book = Workbook()
sheet = book.active
sheet["A1"] = "Fall 2026 Roster \u2014 Lincoln Middle School"
# Row 2 is left blank.
rows = [("Last Name", "First Name", "Middle Name", "Grade"),
        ("King", "Zoe", None, 8),
        ("Smith, Jr.", "Bob", "Lee", 7),
        ("Adams", "Ann", "Marie", 7),
        ("Miller", "Dan", None, 6),
        ("Young", "Cy", None, 6)]
for r, row in enumerate(rows, start=3):
    for c, value in enumerate(row, start=1):
        if value is not None:
            sheet.cell(row=r, column=c, value=value)
book.save(sys.argv[1])
PY
load_table_export "$FILES/roster.xlsx" "$FILES/roster-sorted.csv"
# The title and the header first, as they stood; then every student once, in last-name
# order: "Smith, Jr." under Smith, not under its first or middle name.
/usr/bin/python3 - "$FILES/roster-sorted.csv" <<'PY'
import sys
lines = open(sys.argv[1], "rb").read().decode("utf-8-sig").split("\r\n")
assert lines[-1] == "", "the file does not end with CR LF"
lines = lines[:-1]
head = ["Fall 2026 Roster \u2014 Lincoln Middle School", "Last Name,First Name,Middle Name,Grade"]
if lines[:2] != head:
    sys.exit(f"the title and the header are not on top as they stood: {lines[:2]}")
students = lines[2:]
expected = ["Adams,Ann,Marie,7", "King,Zoe,,8", "Miller,Dan,,6", '"Smith, Jr.",Bob,Lee,7', "Young,Cy,,6"]
if students != expected:
    sys.exit(f"the students are not all there in last-name order (Smith, Jr. under Smith): {students}")
PY
alive
pass "a roster workbook's title stays above its guessed header and every student's row is exported in its place"
