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
click "Load List Of Names From File"
choose_file "$FILES/names.txt"
click "Save List Of Names To File"
choose_file "$FILES/names-saved.txt"
expect_box Orvella # "Done."
printf '%s\r\n' "${names[@]}" >"$FILES/names-expected.txt"
expect_same_file "$FILES/names-saved.txt" "$FILES/names-expected.txt" "the loaded names, saved back, differ from the file's lines"

# ---- Sort and save in one reading; the file appears whole when the save is done.
sort_and_save() { # file, then the expected results in order
  local file="$FILES/$1"
  shift
  sort_names
  click "Save Results As Text File"
  choose_file "$file"
  file_there() { [ -f "$file" ]; }
  wait_until "the results file $file" file_there
  table "$@" >"$file.expected"
  expect_same_file "$file" "$file.expected" "results saved as $(basename "$file") are not the expected table"
}

# First run: Last/First, stepping over suffixes (the design state).
sort_and_save suffix.txt "Ann Lee" "John Smith Jr." "Joe Tavrin" "Mr. Joe Tavrin" "Peter Tavrin" "Bob Young" \
  "Émile Zola" "anna smith"

click "Sort by last word"
wait_for_setting "Option4=True"
sort_and_save lastword.txt "John Smith Jr." "Ann Lee" "Joe Tavrin" "Mr. Joe Tavrin" "Peter Tavrin" "Bob Young" \
  "Émile Zola" "anna smith"

click "Sort by First/Last"
wait_for_setting "Option2=True"
sort_and_save firstlast.txt "Ann Lee" "Bob Young" "Joe Tavrin" "John Smith Jr." "Mr. Joe Tavrin" "Peter Tavrin" \
  "anna smith" "Émile Zola"

# Sorting did not touch the names list: saved again it is the same.
click "Save List Of Names To File"
choose_file "$FILES/names-again.txt"
expect_box Orvella
expect_same_file "$FILES/names-again.txt" "$FILES/names-expected.txt" "the names list changed while sorting"

# ---- Saving the results over a file that is there takes a Yes in the file dialog's own
# question: No (its default, given with Return) leaves the file as it was.
click "Clear Results" # a save would now write the header alone
click "Save Results As Text File"
dialog=$(wait_for_box)
key_in "$dialog" ctrl+a
type_in "$dialog" "$FILES/suffix.txt"
question=""
asked() { question=$(windows | grep -vx -e "$MAIN" -e "$dialog" | head -n 1 || true); [ -n "$question" ]; }
no_popup() { [ -z "$(popups)" ]; }
key_in "$dialog" Return
# Should the completion list have taken that Return, the next one is the dialog's (a
# Return the dialog gets while its question is up is dropped).
wait_until "the file dialog's completion list to close" no_popup
asked || key_in "$dialog" Return
wait_until "the question before replacing suffix.txt" asked
key_in "$question" Return
wait_gone "$question"
key_in "$dialog" Escape
wait_gone "$dialog"
expect_same_file "$FILES/suffix.txt" "$FILES/suffix.txt.expected" "No to replacing still changed the file"

alive
pass "a loaded names file sorts in all three readings and saves as the exact table; No keeps a file"
