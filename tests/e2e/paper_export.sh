#!/usr/bin/env bash
# Results on paper, end to end: the real program under Xvfb loads a class roster (a
# Name and a Homeroom column), sorts it and exports it through File > Export Results as
# a PDF document, taking the layout's choices as proposed; pdftotext must read the title,
# a heading per first letter and the rows in last-name order, and "Page 1 of 1". File >
# Print Results (Ctrl+P) shows its preview, which Escape closes. The same roster through
# `orvella --sort --format pdf` with no display gives the same rows, and as badges each
# first name above its last name.
# Usage: paper_export.sh path/to/orvella
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
e2e_begin "$@"
command -v pdftotext >/dev/null || { echo "SKIP: no pdftotext (poppler-utils)"; exit 77; }

printf '%s\n' 'Name,Homeroom' 'John Smith,7A' 'Anna Baker,7B' 'Zoë Ångström,7A' 'Bob Brown,7B' \
  'Dmitri Иванов,7A' 'Carl Clark,7B' >"$FILES/roster.csv"
expected_rows=('Baker, Anna' 'Brown, Bob' 'Clark, Carl' 'Smith, John' 'Ångström, Zoë' 'Иванов, Dmitri')

# expect_rows PDF WHAT: the rows in order under their letters, and the one page's number.
expect_rows() {
  pdftotext -layout "$1" "$FILES/pages.txt"
  local lines
  lines=$(sed -e 's/^ *//' -e 's/ *$//' -e '/^$/d' "$FILES/pages.txt" | tr -d '\f')
  local rows
  rows=$(grep -vxE '.{1}|Page 1 of 1|roster.*|Roster.*' <<<"$lines")
  [ "$rows" = "$(printf '%s\n' "${expected_rows[@]}")" ] || fail "$2: rows not in last-name order: $rows"
  for letter in B C S Å И; do grep -qx "$letter" <<<"$lines" || fail "$2: no heading $letter"; done
  grep -qx 'Page 1 of 1' <<<"$lines" || fail "$2: no page number"
}

start_program
click "Load List Of Names From File"
choose_file "$FILES/roster.csv"
columns=$(wait_for_window '^Choose Name Columns$')
key_in "$columns" Return
wait_gone "$columns"
sort_names

key_in "$MAIN" ctrl+e # File > Export Results…
choose_file "$FILES/roster.pdf"
choices=$(wait_for_window '^Export Results$')
key_in "$choices" Return # Save, with the choices proposed
wait_gone "$choices"
exported() { [ -s "$FILES/roster.pdf" ]; }
wait_until "the PDF document" exported
expect_rows "$FILES/roster.pdf" "the window's PDF"
head -n 3 "$FILES/pages.txt" | grep -q 'roster' || fail "the title is not the file's name"
wait_for_setting "PaperLayout=list"

key_in "$MAIN" ctrl+p # File > Print Results…
preview=$(wait_for_window '^Print Results$')
key_in "$preview" Escape
wait_gone "$preview"
alive
pass "a roster exported as PDF reads back in last-name order under its letters"

env -u DISPLAY -u WAYLAND_DISPLAY "$ORVELLA" --sort --defaults --format pdf -o "$FILES/cli.pdf" "$FILES/roster.csv" ||
  fail "orvella --sort --format pdf ended with status $?"
expect_rows "$FILES/cli.pdf" "the command's PDF"
env -u DISPLAY -u WAYLAND_DISPLAY "$ORVELLA" --sort --defaults --format pdf --layout badges -o "$FILES/badges.pdf" \
  "$FILES/roster.csv" || fail "orvella --sort --layout badges ended with status $?"
words=$(pdftotext -layout "$FILES/badges.pdf" - | tr -s ' \n\f' '\n' | sed '/^$/d' | head -n 4 | tr '\n' ' ')
[ "$words" = "Anna Bob Baker Brown " ] || fail "the badges' first row of cards reads \"$words\""
pass "orvella --sort --format pdf writes the same list without a display, and badges"
