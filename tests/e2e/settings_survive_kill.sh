#!/usr/bin/env bash
# The real program under Xvfb: a click on "Sort by First/Last" is on disk at once, so a
# program killed with SIGKILL right after it starts again with that choice restored.
# Usage: settings_survive_kill.sh path/to/orvella
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
e2e_begin "$@"

# First run: the store is empty; one click on "Sort by First/Last", then SIGKILL.
start_program
click "Sort by First/Last"
wait_for_setting "Option2=True"
kill_program
has_setting "Option1=False" || fail "Option1 was not written as False"

# Second run: the choice is back. "Sort by First/Last" disables the inner frame, so a
# click on "Sort by last word" must change nothing; then a click on "Sort by Last/First"
# shows that the program did take clicks.
start_program
click "Sort by last word"
click "Sort by First/Last" # already selected: no write
click "Sort by Last/First"
wait_for_setting "Option1=True"
kill_program
if grep -q "^Option4=" "$SETTINGS"; then
  fail "the inner frame took a click: the restore did not select Sort by First/Last"
fi
has_setting "Option2=False" || fail "Option2 was not written as False after Sort by Last/First"

# Third run: the last click is back and the inner frame takes clicks again.
start_program
click "Sort by last word"
wait_for_setting "Option4=True"
kill_program
has_setting "Option3=False" || fail "Option3 was not written as False"

pass "choices survive SIGKILL and come back at the next start"
