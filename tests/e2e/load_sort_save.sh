#!/usr/bin/env bash
# Load, sort in each reading, save: the real program under Xvfb loads a names file
# through its file dialog (CR LF, LF and lone CR line ends, blank lines, a non-ASCII
# name), saves the names list back, then sorts in each of the three readings and saves
# the results each time as a text table, which must match byte for byte.
# Usage: load_sort_save.sh path/to/orvella
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
e2e_begin "$@"

# The names as entered, in file order; the file mixes every kind of line end.
names=("John Smith Jr." "Ann Lee" "anna smith" "Bob Young" "Mr. Joe Tavrin" "Peter Tavrin" "Joe Tavrin"
  "Émile Zola")
printf '%s\r\n%s\n\n%s\r%s\r\n\r\n%s\n%s\r%s\r\n%s' "${names[@]}" >"$FILES/names.txt"

# A results table: "Result(s)" and every name padded with spaces to the longest of
# them (counted in characters), each followed by TAB, CR LF.
table() {
  /usr/bin/python3 - "$@" <<'PY'
import sys
rows = ["Result(s)"] + sys.argv[1:]
width = max(len(r) for r in rows)
sys.stdout.buffer.write("".join(r.ljust(width) + "\t\r\n" for r in rows).encode("utf-8"))
PY
}
start_program

# ---- Load the file; save the names list back: one line per name, CR LF.
click PushButton3
choose_file "$FILES/names.txt"
click PushButton9
choose_file "$FILES/names-saved.txt"
expect_box Orvella # "Done."
printf '%s\r\n' "${names[@]}" >"$FILES/names-expected.txt"
expect_same_file "$FILES/names-saved.txt" "$FILES/names-expected.txt" "the loaded names, saved back, differ from the file's lines"

# ---- Sort and save in one reading; the file appears whole when the save is done.
sort_and_save() { # file, then the expected results in order
  local file="$FILES/$1"
  shift
  sort_names
  click PushButton4
  choose_file "$file"
  file_there() { [ -f "$file" ]; }
  wait_until "the results file $file" file_there
  table "$@" >"$file.expected"
  expect_same_file "$file" "$file.expected" "results saved as $(basename "$file") are not the expected table"
}

# First run: Last/First, stepping over suffixes (the design state).
sort_and_save suffix.txt "Ann Lee" "John Smith Jr." "Joe Tavrin" "Mr. Joe Tavrin" "Peter Tavrin" "Bob Young" \
  "Émile Zola" "anna smith"

click Option4 # Sort by last word
wait_for_setting "Option4=True"
sort_and_save lastword.txt "John Smith Jr." "Ann Lee" "Joe Tavrin" "Mr. Joe Tavrin" "Peter Tavrin" "Bob Young" \
  "Émile Zola" "anna smith"

click Option2 # Sort by First/Last
wait_for_setting "Option2=True"
sort_and_save firstlast.txt "Ann Lee" "Bob Young" "Joe Tavrin" "John Smith Jr." "Mr. Joe Tavrin" "Peter Tavrin" \
  "anna smith" "Émile Zola"

# Sorting did not touch the names list: saved again it is the same.
click PushButton9
choose_file "$FILES/names-again.txt"
expect_box Orvella
expect_same_file "$FILES/names-again.txt" "$FILES/names-expected.txt" "the names list changed while sorting"

alive
pass "a loaded names file sorts in all three readings and saves as the exact table"
