#!/usr/bin/env bash
# The keyboard, end to end: in the real program under Xvfb, Tab from the input list
# goes down the left column and on to "Start Sorting", each control once, and Return
# on it sorts; Alt+I ("L&ist") opens the suffix
# list editor and Escape closes it, as its close box does; F1 opens the user guide,
# whole on the screen, and Escape closes it; Ctrl+Z after Clear List gives the names back.
# Usage: keyboard.sh path/to/orvella
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
e2e_begin "$@"

start_program
click "Load Sample/Example Names"
click "Names"
# Each Tab moves the focus on to a control it has not been on, until Start Sorting has it.
visited=$(focused_control)
[ "$visited" = $'table\tNames' ] || fail "a click into the input list gave the focus to: $visited"
last=$visited
while [ "$last" != $'push button\tStart Sorting' ]; do
  key_in "$MAIN" Tab
  moved() { now=$(focused_control); [ -n "$now" ] && [ "$now" != "$last" ]; }
  wait_until "Tab to move the focus on from $last" moved
  grep -qxF -- "$now" <<<"$visited" && fail "Tab came back to $now before Start Sorting; it went: $visited"
  visited+=$'\n'$now last=$now
done
grep -qxF $'push button\tAdd One Name' <<<"$visited" || fail "Tab passed over Add One Name: $visited"
journal "Tab went: $(tr '\n' '|' <<<"$visited")"
key_in "$MAIN" Return
expect_box Orvella # "Done."
copy_expect "John Smith Jr." "Joe Tavrin" "Mr. Joe Tavrin" "Peter Tavrin"

key_in "$MAIN" alt+i
editor=$(wait_for_window '^Suffix List$')
main_hidden() { ! windows '^Orvella$' | grep -qx "$MAIN"; }
wait_until "the main window to hide" main_hidden
key_in "$editor" Escape
wait_gone "$editor"
main_shown() { windows '^Orvella$' | grep -qx "$MAIN"; }
wait_until "the main window to come back" main_shown

key_in "$MAIN" F1
guide=$(wait_for_window '^Orvella Help$')
read -r gx gy gw gh < <(xwininfo -id "$guide" | awk '/Absolute upper-left X/ { x = $NF } /Absolute upper-left Y/ { y = $NF }
  /Width:/ { w = $NF } /Height:/ { h = $NF } END { print x, y, w, h }')
read -r sw sh < <(xdotool getdisplaygeometry)
journal "the guide at $gx,$gy, ${gw}x$gh"
((gx >= 0 && gy >= 0 && gx + gw <= sw && gy + gh <= sh && gw > 300 && gh > 300)) ||
  fail "the guide at $gx,$gy, ${gw}x$gh is not whole on the ${sw}x$sh screen"
key_in "$guide" Escape
wait_gone "$guide"

# Clear Results, Clear List, then Ctrl+Z: the names (not the results) come back and
# sort as before.
click "Clear Results"
click "Clear List"
printf 'stale' | xclip -selection clipboard -i # so that copying no results cannot pass
key_in "$MAIN" ctrl+z
click "Start Sorting"
expect_box Orvella # "Done." (an empty list would have said "You forgot to add Name in the list.")
copy_expect "John Smith Jr." "Joe Tavrin" "Mr. Joe Tavrin" "Peter Tavrin"
pass "Tab reaches Start Sorting through each control once, and Return on it sorts; Escape closes the Suffix List window; F1 opens the guide;" \
  "Ctrl+Z takes Clear List back"
