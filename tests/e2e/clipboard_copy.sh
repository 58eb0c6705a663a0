#!/usr/bin/env bash
# Copy Results To Clipboard, end to end: the real program under Xvfb loads the sample
# names, sorts them, copies the results, and a separate process (xclip) reads the X
# clipboard while the program still holds it.
# Usage: clipboard_copy.sh path/to/orvella
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
e2e_begin "$@"

start_program
click PushButton7  # Load Sample/Example Names
sort_names
copy_expect "John Smith Jr." "Joe Tavrin" "Mr. Joe Tavrin" "Peter Tavrin"
alive
pass "clipboard holds the four sorted names with CR LF"
