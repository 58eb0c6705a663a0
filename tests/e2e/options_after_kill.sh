#!/usr/bin/env bash
# Options and filters survive SIGKILL, and the restored ones are the ones a sort uses:
# the real program under Xvfb is set to First/Last with duplicates removed and two
# names per first word, killed the moment the last click is on disk, started again and
# made to sort (the copied results show all three choices at work); then switched to
# Last/First by last word with the limit off, killed, and started a third time.
# Usage: options_after_kill.sh path/to/orvella
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
e2e_begin "$@"

sort_and_copy_expect() {
  sort_names
  copy_expect "$@"
}
stored() { grep -qxF -- "$1" "$SETTINGS" || fail "the settings file does not hold $1 after the kill"; }

# ---- First run: the choices, then SIGKILL at once.
start_program
click "Sort by First/Last"
wait_for_setting "Option2=True"
click "Remove duplicates from results"
wait_for_setting "Remove%20Duplicates=1"
click "Keep only this number of names per last name:"
wait_for_setting "Check2=1"
click "Number of names per last name"
key_in "$MAIN" ctrl+a
type_in "$MAIN" "2"
wait_for_setting "Text1=2"
kill_program
for line in "[Orvella]" "Option1=False" "Option2=True" "Remove%20Duplicates=1" "Check2=1" "Text1=2"; do
  stored "$line"
done

# ---- Second run: First/Last, duplicates removed, at most two per first word.
start_program
click "Load Sample/Example Names"
click "Load Sample/Example Names"
add_name "Joe Brown"
add_name "Joe Adams"
sort_and_copy_expect "Joe Adams" "Joe Brown" "John Smith Jr." "Mr. Joe Tavrin" "Peter Tavrin"

# Back to Last/First by last word, limit off; SIGKILL.
click "Sort by Last/First"
wait_for_setting "Option1=True"
click "Sort by last word"
wait_for_setting "Option4=True"
click "Keep only this number of names per last name:"
wait_for_setting "Check2=0"
kill_program
for line in "Option1=True" "Option2=False" "Option3=False" "Option4=True" "Check2=0" "Remove%20Duplicates=1" \
  "Text1=2"; do
  stored "$line"
done

# ---- Third run: by last word ("Jr." before "Lee"), no limit, duplicates still removed.
start_program
add_name "Ann Lee"
click "Load Sample/Example Names"
click "Load Sample/Example Names"
sort_and_copy_expect "John Smith Jr." "Ann Lee" "Joe Tavrin" "Mr. Joe Tavrin" "Peter Tavrin"

alive
pass "options and filters are on disk at every click and steer the sort after a restart"
