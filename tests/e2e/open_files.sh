#!/usr/bin/env bash
# Files named on the command line, as a file manager's "Open with Orvella" passes them:
# the program starts with their names in the input list, in the order given, read as
# the load command reads them; a missing one says "File not found" and the others are
# still read. --version answers on the terminal, without a display.
# Usage: open_files.sh path/to/orvella
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
e2e_begin "$@"

version=$(env -u DISPLAY "$ORVELLA" --version) || fail "--version ended with an error"
[ "$version" = "Orvella 1.0.0" ] || fail "--version printed \"$version\""

printf 'Ann Lee\r\nBob Young\n\n' >"$FILES/a.txt"
printf 'Cy Tavrin\rÉmile Zola' >"$FILES/b.txt"

# A path relative to the folder the program starts in, a missing file, a full path.
start_program files/a.txt "$FILES/missing.txt" "$FILES/b.txt"
expect_box Orvella # "File not found"

click PushButton9 # Save List Of Names To File
choose_file "$FILES/names-saved.txt"
expect_box Orvella # "Done."
printf '%s\r\n' "Ann Lee" "Bob Young" "Cy Tavrin" "Émile Zola" >"$FILES/names-expected.txt"
expect_same_file "$FILES/names-saved.txt" "$FILES/names-expected.txt" "the input list does not hold both files' names in order"

alive
pass "orvella a.txt missing.txt b.txt starts with both files' names in order after one \"File not found\""
