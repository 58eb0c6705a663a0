#!/usr/bin/env bash
# Rows of a table, end to end: the real program under Xvfb loads a CSV with a First and
# a Last column (quoted cells, a line break inside one, a non-ASCII name), takes the
# columns it proposes in "Choose Name Columns", sorts, and exports the results through
# File > Export Results as CSV. The file must hold the input rows whole, in last-name
# order (exact order, the default: a lowercase "de la Cruz" after "Zola"), under
# the input's header: UTF-8 with a byte-order mark, CR LF, quoted as
# RFC 4180 says.
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
click PushButton3
choose_file "$FILES/roster.csv"
columns=$(wait_for_window '^Choose Name Columns$')
key_in "$columns" Return # Load, with the columns it proposes
wait_gone "$columns"
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
