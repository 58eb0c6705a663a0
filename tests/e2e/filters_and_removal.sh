#!/usr/bin/env bash
# Filters, list editing and the clipboard, end to end: the real program under Xvfb
# takes a name typed into its input box and the sample names twice, then sorts with
# each filter the user ticks (remove duplicates, unique last names, a number per last
# name typed into the field), removes items with the Delete key from both lists and
# clears them; after every sort the copied results are read back with xclip.
# Usage: filters_and_removal.sh path/to/orvella
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
e2e_begin "$@"

# A click into a list gives it the keyboard; Home or End then selects an item.
delete_in() { # list, Home|End
  click "$1"
  key_in "$MAIN" "$2" Delete
}

start_program

# Add One Name: the input box takes the typed name.
add_name "Zed Adams"
click "Load Sample/Example Names"
click "Load Sample/Example Names"

# Remove duplicates from results.
click "Remove duplicates from results"
wait_for_setting "Remove%20Duplicates=1"
sort_names
copy_expect "Zed Adams" "John Smith Jr." "Joe Tavrin" "Mr. Joe Tavrin" "Peter Tavrin"

# One name per last name.
click "Keep unique last names, discard duplicate last names"
wait_for_setting "Check1=1"
sort_names
copy_expect "Zed Adams" "John Smith Jr." "Joe Tavrin"

# A number per last name: it unticks the unique last names and opens the field; type 2 into it.
click "Keep only this number of names per last name:"
wait_for_setting "Check2=1"
has_setting "Check1=0" || fail "ticking Check2 did not untick Check1"
click "Number of names per last name"
key_in "$MAIN" ctrl+a
type_in "$MAIN" "2"
wait_for_setting "Text1=2"
sort_names
copy_expect "Zed Adams" "John Smith Jr." "Joe Tavrin" "Mr. Joe Tavrin"

# Duplicates back in: at most two of each last name, equal names included.
click "Remove duplicates from results"
wait_for_setting "Remove%20Duplicates=0"
sort_names
copy_expect "Zed Adams" "John Smith Jr." "John Smith Jr." "Joe Tavrin" "Joe Tavrin"

# Delete in the names list removes its selected item (the first: Zed Adams).
delete_in Names Home
sort_names
copy_expect "John Smith Jr." "John Smith Jr." "Joe Tavrin" "Joe Tavrin"

# Delete in the results removes the selected result (the last).
delete_in Results End
copy_expect "John Smith Jr." "John Smith Jr." "Joe Tavrin"

# Another program takes the clipboard; copying no results must leave its text there.
printf 'from another program' | xclip -i -quiet -selection clipboard >/dev/null 2>&1 &
other_program=$!
holds_other_text() { [ "$(clipboard_bytes 2>/dev/null)" = "from another program" ]; }
wait_until "the other program to hold the clipboard" holds_other_text
clipboard_untouched() { holds_other_text || fail "copying no results changed the clipboard"; }

# Clear Results: nothing to copy then.
click "Clear Results"
click "Copy Results To Clipboard"
expect_box Orvella
clipboard_untouched

# Clear List: a sort then only says the list is empty, and still nothing to copy.
click "Clear List"
sort_names # "You forgot to add Name in the list."
click "Copy Results To Clipboard"
expect_box Orvella
clipboard_untouched
kill "$other_program"

alive
pass "filters, removals and clears give the expected clipboard after every step"
