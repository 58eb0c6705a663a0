#!/usr/bin/env bash
# The real program under Xvfb: leaving the number field with a text that is not a number
# shows "You must input numeric entry." once, and after OK the focus is back in the field
# (what is typed next lands there); the box taking the focus starts no second check.
# Usage: number_field_check.sh path/to/orvella
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
e2e_begin "$@"

one_window() { [ "$(window_count)" -eq 1 ]; }
# Tab out of the field: one message box, titled like the program; OK closes it.
leave_field_expect_box() {
  key_in "$MAIN" Tab
  local box
  box=$(wait_for_box)
  [ "$(box_title "$box")" = Orvella ] || fail "the message box does not carry the application title"
  key_in "$box" Return
  wait_gone "$box"
  one_window || fail "a second message box appeared"
}

start_program

# "Keep only this number of names per last name:" enables the number field; type into it.
click "Keep only this number of names per last name:"
wait_for_setting "Check2=1"
click "Number of names per last name"
key_in "$MAIN" End
type_in "$MAIN" x
wait_for_setting "Text1=5x"

# Leaving it shows the message; after OK typing goes on in the number field.
leave_field_expect_box
type_in "$MAIN" y
wait_for_setting "Text1=5xy"
one_window || fail "a second message box appeared"

# Every time it is left while wrong.
leave_field_expect_box

# A number leaves quietly: the next key goes to the next control, not the field.
key_in "$MAIN" BackSpace BackSpace
wait_for_setting "Text1=5"
key_in "$MAIN" Tab
type_in "$MAIN" z
key_in "$MAIN" Tab
click "Keep only this number of names per last name:" # untick: a click the program must still take
wait_for_setting "Check2=0"
has_setting "Text1=5" || fail "the number field took keys after it was left"
one_window || fail "a message box appeared for a number"

pass "the number field check shows one box and gives the focus back"
