#!/usr/bin/env bash
# Files named on the command line, as a file manager's "Open with Orvella" passes them:
# the program starts with their names in the input list, in the order given, read as
# the load command reads them; a missing one says "File not found", and names itself on
# standard error, and the others are still read. A name need be no valid UTF-8: the file
# is found by the argument's bytes. --version answers on the terminal, without a display.
# Usage: open_files.sh path/to/orvella
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
e2e_begin "$@"

version=$(env -u DISPLAY "$ORVELLA" --version) || fail "--version ended with an error"
[ "$version" = "Orvella 1.0.0" ] || fail "--version printed \"$version\""

printf 'Ann Lee\r\nBob Young\n\n' >"$FILES/a.txt"
printf 'Cy Tavrin\rÉmile Zola' >"$FILES/b.txt"
# Names that are not UTF-8 (the program reads names as UTF-8): the byte FF, and FE in
# the missing file's.
odd="$FILES/"$'\xff'".txt" missing="$FILES/missing"$'\xfe'".txt"
printf 'Dee Fox\n' >"$odd"

# A path relative to the folder the program starts in, a missing file, full paths.
start_program files/a.txt "$missing" "$odd" "$FILES/b.txt"
expect_box Orvella # "File not found"
grep -qaxF "orvella: $missing: File not found" "$WORK/orvella.log" ||
  fail "standard error does not name the missing file"

click "Save List Of Names To File"
choose_file "$FILES/names-saved.txt"
expect_box Orvella # "Done."
printf '%s\r\n' "Ann Lee" "Bob Young" "Dee Fox" "Cy Tavrin" "Émile Zola" >"$FILES/names-expected.txt"
expect_same_file "$FILES/names-saved.txt" "$FILES/names-expected.txt" "the input list does not hold the files' names in order"

alive
pass "orvella a.txt missing.txt <FF>.txt b.txt starts with the three files' names in order after one \"File not found\", named on standard error"
