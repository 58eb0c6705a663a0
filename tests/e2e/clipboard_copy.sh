#!/usr/bin/env bash
# Copy Results To Clipboard, end to end: the real program under Xvfb loads the sample
# names, sorts them, copies the results, and a separate process (xclip) reads the X
# clipboard while the program still holds it. Then, with a stand-in clipboard manager
# running, the main window is closed: the manager takes the text over, and xclip still
# reads it after the program has ended.
# Usage: clipboard_copy.sh path/to/orvella
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
e2e_begin "$@"

start_program
click "Load Sample/Example Names"
sort_names
copy_expect "John Smith Jr." "Joe Tavrin" "Mr. Joe Tavrin" "Peter Tavrin"
alive
pass "clipboard holds the four sorted names with CR LF"

/usr/bin/python3 "$(dirname "${BASH_SOURCE[0]}")/clipboard_manager.py" "$WORK/manager-ready" \
  >>"$WORK/manager.log" 2>&1 &
MANAGER_PID=$!
trap 'kill "$MANAGER_PID" 2>/dev/null || true; stop_program' EXIT
manager_ready() {
  [ -e "$WORK/manager-ready" ] && return 0
  kill -0 "$MANAGER_PID" 2>/dev/null || fail "the clipboard manager ended: $(cat "$WORK/manager.log")"
  return 1
}
wait_until "the clipboard manager" manager_ready

close_main_window
wait_for_exit
[ "$EXIT_STATUS" -eq 0 ] || fail "the program ended with status $EXIT_STATUS"
expect_clipboard "John Smith Jr." "Joe Tavrin" "Mr. Joe Tavrin" "Peter Tavrin"
pass "after the window was closed, the clipboard manager holds the results"
