#!/usr/bin/env bash
# The Order and Reading menus: the real program under Xvfb is set, from its menu bar by
# the keyboard, to the alphabetical order, to reading "Last, First" lines and to stepping
# over titles; a sort of a loaded file follows the first two (the copied results show
# it). After a restart the menus hold the same choices, and the same sort gives the same
# order; Exact order brings back the character-code order.
# Usage: reading_menus.sh path/to/orvella
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
e2e_begin "$@"

printf '%s\n' "Łukasz Żak" "Smith, John" "ann smith" "Zach Adams" "Ángel Álvarez" "Bob Smith" >"$FILES/names.txt"
alphabetical=("Zach Adams" "Ángel Álvarez" "ann smith" "Bob Smith" "Smith, John" "Łukasz Żak")
load_sort_copy_expect() {
  click "Clear List"
  click "Load List Of Names From File"
  choose_file "$FILES/names.txt"
  sort_names
  copy_expect "$@"
}
menu() { # the menu's Alt key, then the item's letter
  key_in "$MAIN" "alt+$1"
  key_in "$MAIN" "$2"
}

# ---- First run: both choices from the menus, each on disk at once.
start_program
menu o a # Order > Alphabetical (language-aware)
wait_for_setting "Order=Alphabetical"
menu r f # Reading > Read "Last, First" lines
wait_for_setting "LastCommaFirst=True"
menu r s # Reading > Step over titles, nicknames and extra suffixes (none in these names)
wait_for_setting "StepOverExtras=True"
load_sort_copy_expect "${alphabetical[@]}"
close_main_window
wait_for_exit

# ---- Second run: the choices are back and steer the sort.
start_program
load_sort_copy_expect "${alphabetical[@]}"
# Exact order again: capitals before small letters, letters with marks after both.
menu o e
wait_for_setting "Order=Exact"
load_sort_copy_expect "Zach Adams" "Bob Smith" "Smith, John" "ann smith" "Ángel Álvarez" "Łukasz Żak"

alive
pass "the menus' choices are stored at once, steer the sort and come back after a restart"
