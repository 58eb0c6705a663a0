#!/usr/bin/env bash
# A larger window, end to end: the real program under Xvfb loads 60 names, and its
# main window is made larger. The input list then reaches far below its designed
# bottom (a double-click there removes a name the designed list could not show), the
# buttons that moved with it still work, and the size is written to the settings: at
# the next start the window has it again. A size given just before the window is
# closed is written too.
# Usage: window_resize.sh path/to/orvella
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
e2e_begin "$@"

names=()
for n in $(seq -w 1 60); do names+=("Ann Name$n"); done
printf '%s\r\n' "${names[@]}" >"$FILES/names.txt"
size_of() { xwininfo -id "$1" | awk '/Width:/ { w = $NF } /Height:/ { h = $NF } END { print w "x" h }'; }

start_program
designed=$(size_of "$MAIN")
click "Load List Of Names From File"
choose_file "$FILES/names.txt"
read -r _ list_top _ list_height _ <<<"$(control_place Names)"
xdotool windowsize --sync "$MAIN" 1200 880
grown() {
  local height
  read -r _ _ _ height _ <<<"$(control_place Names)"
  ((height >= list_height + 300))
}
wait_until "the input list to take the extra height of the window made 1200x880" grown

# 200 px below the designed list's bottom lies a row of the larger list.
read -r x _ <<<"$(control_point Names)"
xdotool mousemove --window "$MAIN" "$x" $((list_top + list_height + 200)) click --repeat 2 --delay 80 1
click "Help" # moved down with the list
expect_box Orvella
sort_names
click "Copy Results To Clipboard" # at the bottom of the right column
expect_box Orvella
copied=$(clipboard_bytes | tr -d '\r')
[ "$(grep -c . <<<"$copied")" -eq 59 ] || fail "the double-click below the designed list removed no name"
for n in $(seq -w 1 10); do
  grep -qx "Ann Name$n" <<<"$copied" || fail "Ann Name$n, a row the designed list showed, was removed"
done

wait_for_setting "MainWindowSize=1200x880"
kill_program
start_program
[ "$(size_of "$MAIN")" = 1200x880 ] || fail "the window came back at $(size_of "$MAIN"), not 1200x880"

xdotool windowsize --sync "$MAIN" 1100 700
close_main_window
wait_for_exit
has_setting "MainWindowSize=1100x700" || fail "the size given just before closing was not written"
pass "the larger window ($designed to 1200x880) shows more rows, its buttons work, its size comes back"
