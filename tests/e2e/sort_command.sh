#!/usr/bin/env bash
# orvella --sort against the window: the real program under Xvfb starts on a names file,
# is given its choices by clicks and from its menus, sorts and copies the results; xclip
# reads them from the X clipboard. The command, run with no display at all and no flag,
# reads the choices the window stored and must print the same names in the same order;
# the same choices given as flags over --defaults give that order too, and turning any
# one of them back changes it. Then the command's exit statuses: a missing input among
# others (1, named, the rest still sorted), usage errors (2, with the usage line), a
# reader that goes away early (quiet), a long file read in two halves as a pipe reads it
# in one go, and -o under a file-size limit (1; the old file
# and its other link keep their text, no temporary file is left). A failed step (a stored
# limit that is no number, memory running out under ulimit -v) ends with status 1 and
# leaves the output as it was; the window with X11 or Wayland chosen and no display
# says so and ends with status 1; --help names --sort.
# Usage: sort_command.sh path/to/orvella
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
e2e_begin "$@"

# The command as a script on a server runs it: no X, no Wayland.
orvella_sort() { env -u DISPLAY -u WAYLAND_DISPLAY "$ORVELLA" --sort "$@"; }
# run_sort OUT ERR [ARG...]: the command with standard output and error in these
# files; its exit status in STATUS.
run_sort() {
  local out=$1 err=$2
  shift 2
  STATUS=0
  orvella_sort "$@" >"$out" 2>"$err" || STATUS=$?
  journal "orvella --sort $* -> $STATUS"
}
expect_status() { # expected what
  [ "$STATUS" -eq "$1" ] || fail "$2: exit status $STATUS, not $1 (stderr: $(cat "$FILES/err"))"
}

# Thirty names: suffixes, particles, "Last, First" lines, duplicates, marks and small
# letters, so that each choice below moves some of them.
names=("John Smith Jr." "Ann Lee" "ann smith" "Bob Young" "Mr. Joe Tavrin" "Peter Tavrin" "Joe Tavrin"
  "Émile Zola" "Ludwig van Beethoven" "Anna Brahms" "Zoe Webb" "Oscar de la Hoya Jr." "Jan van der Berg"
  "Smith, John" "de la Cruz, Juan" "Ann Lee" "Ángel Álvarez" "Zach Adams" "Łukasz Żak"
  "Martin Luther King Jr." "Henry Ford III" "Sammy Davis Jr." "Bob Young" "Garcia, Maria" "Vincent van Gogh"
  "Søren Kierkegaard" "Renée O'Neil" "Mary-Jane Watson" "Jean-Luc Picard" "Henry Ford III")
printf '%s\n' "${names[@]}" >"$FILES/names.txt"

# ---- The window: started on the file, choices made, sorted, copied.
start_program "$FILES/names.txt"
click "Sort by last word"
wait_for_setting "Option4=True"
click "Remove duplicates from results"
wait_for_setting "Remove%20Duplicates=1"
menu() { # the menu's Alt key, then the item's letter
  key_in "$MAIN" "alt+$1"
  key_in "$MAIN" "$2"
}
menu o a # Order > Alphabetical (language-aware)
wait_for_setting "Order=Alphabetical"
menu r f # Reading > Read "Last, First" lines
wait_for_setting "LastCommaFirst=True"
menu r k # Reading > Keep particles with the last name
wait_for_setting "KeepParticles=True"
sort_names
click "Copy Results To Clipboard"
expect_box Orvella
clipboard_bytes | tr -d '\r' >"$FILES/window.txt" || fail "xclip could not read the clipboard"
[ "$(grep -c . "$FILES/window.txt")" -eq 27 ] || fail "the window's results are not the 27 distinct names: $(cat "$FILES/window.txt")"
# Closing writes what the window keeps on closing; the store is settled after that.
close_main_window
wait_for_exit
cp "$SETTINGS" "$FILES/settings-before.ini"

# ---- The command without flags sorts with the stored choices.
run_sort "$FILES/cli.txt" "$FILES/err" "$FILES/names.txt"
expect_status 0 "orvella --sort names.txt"
[ ! -s "$FILES/err" ] || fail "orvella --sort names.txt wrote to stderr: $(cat "$FILES/err")"
expect_same_file "$FILES/cli.txt" "$FILES/window.txt" "orvella --sort (stored choices) differs from the window's copied results"
pass "orvella --sort with no display and no flag gives the window's results line for line"

# The same choices as flags over --defaults; each one turned back moves some name. The
# command stores none of them.
choices=(--reading last-word --remove-duplicates --order alphabetical --last-comma-first --particles)
run_sort "$FILES/flags.txt" "$FILES/err" --defaults "${choices[@]}" "$FILES/names.txt"
expect_status 0 "orvella --sort --defaults with the window's choices as flags"
expect_same_file "$FILES/flags.txt" "$FILES/window.txt" "the window's choices given as flags over --defaults give another order"
for back in "--reading skip-suffixes" --no-remove-duplicates "--order exact" --no-last-comma-first --no-particles \
  --defaults; do
  # shellcheck disable=SC2086 # "--order exact" is an option and its value
  run_sort "$FILES/back.txt" "$FILES/err" $back "$FILES/names.txt"
  expect_status 0 "orvella --sort $back"
  ! cmp -s "$FILES/back.txt" "$FILES/window.txt" || fail "orvella --sort $back gives the window's order: the choice was not applied"
done
expect_same_file "$SETTINGS" "$FILES/settings-before.ini" "orvella --sort changed the stored choices"
pass "flags over --defaults give the same results; each flag turned back changes them; nothing is stored"

# ---- A missing input: named, status 1, the other file still sorted into the output.
run_sort "$FILES/partial.txt" "$FILES/err" "$FILES/missing.txt" "$FILES/names.txt"
expect_status 1 "orvella --sort missing.txt names.txt"
grep -qF "$FILES/missing.txt" "$FILES/err" || fail "stderr does not name the missing file: $(cat "$FILES/err")"
expect_same_file "$FILES/partial.txt" "$FILES/window.txt" "with a missing file the other file's names were not all sorted"

# ---- A table: its rows' names by the columns its header names, each filed under its
# Last name cell ("de la Cruz", lowercase, after "Zola" in exact order), whatever
# commas the cell holds (a suffix in it stepped over as a suffix). The title above the
# header is no name; the row without a name gives an empty line, first.
printf '%s\r\n' 'Class list 7B' 'Id;Last name;First name' '1;Zola;Émile' '4;;' '2;de la Cruz;Juan' '3;Lee;Ann' \
  '5;Smith, Jr.;Bob' '6;King, III;Zoe' '7;Lee,;Al' >"$FILES/rows.csv"
run_sort "$FILES/rows.txt" "$FILES/err" --defaults "$FILES/rows.csv"
expect_status 0 "orvella --sort rows.csv"
printf '%s\n' "" "King, III, Zoe" "Lee,, Al" "Lee, Ann" "Smith, Jr., Bob" "Zola, Émile" "de la Cruz, Juan" \
  >"$FILES/rows.expected"
expect_same_file "$FILES/rows.txt" "$FILES/rows.expected" "a CSV's rows did not sort by their last-name column"
run_sort "$FILES/rows.txt" "$FILES/err" --defaults --explain "$FILES/rows.csv"
expect_status 0 "orvella --sort --explain rows.csv"
grep -qxF "$(printf 'Smith, Jr., Bob\tSmith Jr.\tBob')" "$FILES/rows.txt" ||
  fail "--explain does not file \"Smith, Jr.\" under Smith Jr.: $(cat "$FILES/rows.txt")"

# ---- Usage errors: status 2, the usage line, no results.
for wrong in --frobnicate "--reading=sideways"; do
  run_sort "$FILES/usage.txt" "$FILES/err" "$wrong" "$FILES/names.txt"
  expect_status 2 "orvella --sort $wrong"
  grep -q '^usage: orvella --sort ' "$FILES/err" || fail "orvella --sort $wrong gives no usage line: $(cat "$FILES/err")"
  [ ! -s "$FILES/usage.txt" ] || fail "orvella --sort $wrong still wrote results"
done
grep -qF -- "--reading" "$FILES/err" || fail "the bad --reading value is not explained: $(cat "$FILES/err")"
pass "a missing input gives status 1 and is named; usage errors give status 2 and the usage line"

# ---- A reader that stops after the first line: the command ends with status 1 and
# says nothing. Far more than a pipe holds, so the writing must meet the closed pipe.
seq 1 200000 | awk '{ print "Ann" $1 " Lee" ($1 % 1000) }' >"$FILES/big.txt"
pipe=0
orvella_sort "$FILES/big.txt" 2>"$FILES/err" | head -n 1 >"$FILES/first.txt" || pipe=$?
[ "$pipe" -eq 1 ] || fail "orvella --sort big.txt | head -n 1: exit status $pipe, not 1"
[ ! -s "$FILES/err" ] || fail "a closed pipe gave a message: $(cat "$FILES/err")"
run_sort "$FILES/big-sorted.txt" "$FILES/err" "$FILES/big.txt"
expect_status 0 "orvella --sort big.txt"
head -n 1 "$FILES/big-sorted.txt" | cmp -s - "$FILES/first.txt" || fail "head -n 1 did not get the first result"
pass "orvella --sort big.txt | head -n 1 ends quietly with status 1"

# ---- A file long enough to be read in two halves at once (with Windows-1252 and UTF-8
# lines on both sides of its middle) sorts as the same names read from a pipe, which
# is read in one go.
seq 1 700000 | awk '{ printf "%s%d Lee%d\n", ($1 % 3 ? "Ann" : ($1 % 2 ? "M\374ller" : "Zo\303\253")), $1, $1 % 997 }' \
  >"$FILES/long.txt"
run_sort "$FILES/long-file.txt" "$FILES/err" "$FILES/long.txt"
expect_status 0 "orvella --sort long.txt"
STATUS=0
orvella_sort <"$FILES/long.txt" >"$FILES/long-pipe.txt" 2>"$FILES/err" || STATUS=$?
expect_status 0 "orvella --sort < long.txt"
expect_same_file "$FILES/long-file.txt" "$FILES/long-pipe.txt" "a long file read in two halves sorts otherwise than from a pipe"
[ "$(wc -l <"$FILES/long-file.txt")" -eq 700000 ] || fail "orvella --sort long.txt lost names"
pass "a long file read in two halves gives what one reading gives"

# ---- -o over a file with two links, under a file-size limit the new text cannot fit:
# status 1, both links keep the old text, no temporary file stays behind. Without the
# limit the same command replaces the text that both links see.
mkdir "$FILES/out"
printf 'the old list\n' >"$FILES/out/kept.txt"
ln "$FILES/out/kept.txt" "$FILES/out/link.txt"
STATUS=0
(ulimit -f 64 && orvella_sort -o "$FILES/out/kept.txt" "$FILES/big.txt") >"$FILES/limited.txt" 2>"$FILES/err" || STATUS=$?
expect_status 1 "orvella --sort -o kept.txt under ulimit -f 64"
grep -qF "$FILES/out/kept.txt" "$FILES/err" || fail "the failed save does not name its file: $(cat "$FILES/err")"
printf 'the old list\n' >"$FILES/old.txt"
expect_same_file "$FILES/out/kept.txt" "$FILES/old.txt" "a failed -o changed the file"
expect_same_file "$FILES/out/link.txt" "$FILES/old.txt" "a failed -o changed the file's other link"
left=$(ls -A "$FILES/out")
[ "$left" = "$(printf 'kept.txt\nlink.txt')" ] || fail "a failed -o left files behind: $left"
run_sort "$FILES/saved.txt" "$FILES/err" -o "$FILES/out/kept.txt" "$FILES/big.txt"
expect_status 0 "orvella --sort -o kept.txt"
expect_same_file "$FILES/out/link.txt" "$FILES/big-sorted.txt" "-o did not replace the text both links see"
pass "-o that cannot fit the file-size limit keeps the old file and its link whole"

# ---- A failed step is a failure. A stored limit that is no number, and memory that runs
# out under an address-space limit (reading or sorting a million names, or not at all):
# each failure is reported on standard error and ends the command with status 1, with
# nothing on standard output and the -o file as it was; where memory sufficed, the
# results are whole and sorted.
mkdir -p "$FILES/stored/Velmora"
printf '[Orvella]\nCheck2=1\nText1=abc\n' >"$FILES/stored/Velmora/Orvella.ini"
STATUS=0
XDG_CONFIG_HOME="$FILES/stored" orvella_sort "$FILES/names.txt" >"$FILES/limit.out" 2>"$FILES/err" || STATUS=$?
expect_status 1 "orvella --sort with a stored limit of \"abc\""
grep -q 'Type mismatch.*PushButton17_Click at line 180' "$FILES/err" || fail "the limit's failure is not reported: $(cat "$FILES/err")"
[ ! -s "$FILES/limit.out" ] || fail "after the report the results were written: $(cat "$FILES/limit.out")"
# A stored choice the start-up cannot read is reported as the window reports it.
printf '[Orvella]\nOption3=banana\n' >"$FILES/stored/Velmora/Orvella.ini"
STATUS=0
XDG_CONFIG_HOME="$FILES/stored" orvella_sort "$FILES/names.txt" >"$FILES/limit.out" 2>"$FILES/err" || STATUS=$?
expect_status 1 "orvella --sort with a stored Option3 of \"banana\""
grep -q 'Type mismatch.*Form1.Form_Load at line 140' "$FILES/err" ||
  fail "the stored choice's failure is not reported: $(cat "$FILES/err")"
[ ! -s "$FILES/limit.out" ] || fail "after the start-up's report the results were written: $(cat "$FILES/limit.out")"
seq 1 1000000 | awk '{ print "Ann" $1 " Lee" ($1 % 1000) }' >"$FILES/million.txt"
run_sort "$FILES/million-sorted.txt" "$FILES/err" --defaults "$FILES/million.txt"
expect_status 0 "orvella --sort million.txt"
reported=0
for limit in 100000 130000 160000 190000 220000 250000; do
  cp "$FILES/old.txt" "$FILES/limited.txt"
  STATUS=0
  (ulimit -v $limit && orvella_sort --defaults -o "$FILES/limited.txt" "$FILES/million.txt") \
    >"$FILES/limited.out" 2>"$FILES/err" || STATUS=$?
  journal "orvella --sort -o limited.txt million.txt under ulimit -v $limit -> $STATUS"
  case $STATUS in
  0) expect_same_file "$FILES/limited.txt" "$FILES/million-sorted.txt" "under ulimit -v $limit the results are not whole" ;;
  1)
    reported=$((reported + 1))
    grep -q '^orvella: Out of memory in ' "$FILES/err" || fail "under ulimit -v $limit: $(cat "$FILES/err")"
    expect_same_file "$FILES/limited.txt" "$FILES/old.txt" "under ulimit -v $limit the failed sort changed the -o file"
    ;;
  *) fail "under ulimit -v $limit: exit status $STATUS (stderr: $(cat "$FILES/err"))" ;;
  esac
  [ ! -s "$FILES/limited.out" ] || fail "under ulimit -v $limit something went to standard output"
done
[ "$reported" -gt 0 ] || fail "no address-space limit made memory run out"
pass "a failed step (a limit that is no number, a stored choice that cannot be read, memory running out) ends" \
  "with status 1 and leaves the output as it was"

# ---- A table's rows whole: CSV and TSV on standard output are the bytes -o saves; a
# workbook has no standard output to go to.
printf 'Club list\r\nTown,Called,Clan\r\nOslo,Bob,Lee\r\nRome,Cy,Ray\r\n' >"$FILES/club.csv"
for format in csv tsv; do
  run_sort "$FILES/club-out.$format" "$FILES/err" --defaults --format $format --columns last=Clan,first=Called "$FILES/club.csv"
  expect_status 0 "orvella --sort --format $format club.csv"
  run_sort "$FILES/empty.out" "$FILES/err" --defaults --format $format --columns last=Clan,first=Called \
    -o "$FILES/club-saved.$format" "$FILES/club.csv"
  expect_status 0 "orvella --sort --format $format -o club-saved.$format club.csv"
  expect_same_file "$FILES/club-out.$format" "$FILES/club-saved.$format" "--format $format on standard output differs from -o"
done
grep -q $'^Oslo,Bob,Lee\r$' "$FILES/club-out.csv" || fail "the CSV lacks a whole row: $(cat "$FILES/club-out.csv")"
run_sort "$FILES/book.out" "$FILES/err" --defaults --format xlsx "$FILES/club.csv"
expect_status 2 "orvella --sort --format xlsx without -o"
grep -q -- '--format xlsx .*needs -o' "$FILES/err" || fail "a workbook without -o is not named: $(cat "$FILES/err")"
[ ! -s "$FILES/book.out" ] || fail "a workbook went to standard output"
pass "--format csv and tsv write a table's rows to standard output as to -o; xlsx needs -o"

# ---- The window with no display to go to, whatever platform Qt is told to use: its one
# line and status 1, where Qt would abort.
mkdir -p "$FILES/no-runtime"
for platform in xcb "xcb:nograb" wayland "wayland;xcb" "-platform xcb"; do
  STATUS=0
  if [ "${platform#-platform }" != "$platform" ]; then
    env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM XDG_RUNTIME_DIR="$FILES/no-runtime" \
      "$ORVELLA" -platform "${platform#-platform }" >"$FILES/window.out" 2>"$FILES/err" || STATUS=$?
  else
    env -u DISPLAY -u WAYLAND_DISPLAY QT_QPA_PLATFORM="$platform" XDG_RUNTIME_DIR="$FILES/no-runtime" \
      "$ORVELLA" >"$FILES/window.out" 2>"$FILES/err" || STATUS=$?
  fi
  expect_status 1 "the window with $platform and no display"
  grep -qx 'orvella: no display to show the window on (X11 or Wayland); `orvella --sort` works without one' \
    "$FILES/err" || fail "the window with $platform and no display says: $(cat "$FILES/err")"
done
pass "with X11 or Wayland chosen and no display the window says so and ends with status 1"

# The window's --help points a script's writer to the command.
env -u DISPLAY -u WAYLAND_DISPLAY "$ORVELLA" --help >"$FILES/help.txt" 2>&1 || fail "orvella --help failed"
grep -q -- 'orvella --sort --help' "$FILES/help.txt" || fail "orvella --help does not mention --sort: $(cat "$FILES/help.txt")"
pass "orvella --help names the command for scripts"
