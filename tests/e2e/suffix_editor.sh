#!/usr/bin/env bash
# The suffix list editor, end to end: the real program under Xvfb opens it with "List"
# (the main window hides), adds an entry through the input box (stored at once in the
# settings file), closes it with "Exit" (the main window comes back) and is killed; at
# the next start, opening and closing the editor leaves the stored value as it was.
# Usage: suffix_editor.sh path/to/orvella
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
e2e_begin "$@"

stored_list() { grep '^SuffixList=' "$SETTINGS" 2>/dev/null || true; }
main_hidden() { ! windows '^Orvella$' | grep -qx "$MAIN"; }
main_shown() { windows '^Orvella$' | grep -qx "$MAIN"; }

# ---- first run ----
start_program
click "List"
editor=$(wait_for_window '^Suffix List$')
wait_until "the main window to hide" main_hidden
[ -z "$(stored_list)" ] || fail "opening the editor wrote the suffix list"

xdotool windowfocus --sync "$editor"
click_in "$editor" "Add One"
box=$(wait_for_window '^Orvella$') # the input box carries the application title
type_in "$box" "Xyz2e"
key_in "$box" Return
wait_gone "$box"
added_entry_stored() {
  [[ "$(stored_list)" == 'SuffixList=BVM!!!TWINE!!!B.V.M.!!!TWINE!!!'*'!!!TWINE!!!USNR!!!TWINE!!!Xyz2e' ]]
}
wait_until "the added entry stored after the 77 defaults" added_entry_stored
stored=$(stored_list)

click_in "$editor" "Exit"
wait_gone "$editor"
wait_until "the main window to come back" main_shown
alive
kill_program

# ---- second run: the stored list is read, not rewritten ----
start_program
click "List"
editor=$(wait_for_window '^Suffix List$')
xdotool windowfocus --sync "$editor"
click_in "$editor" "Exit"
wait_gone "$editor"
alive
[ "$(stored_list)" = "$stored" ] || fail "the stored list changed without an edit"
pass "List opens the editor, Add One is stored at once, Exit brings the main window back"
