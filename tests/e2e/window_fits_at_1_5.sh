#!/usr/bin/env bash
# A window that fits, end to end: the real program at 1.5 times scaling
# (QT_SCALE_FACTOR=1.5) on a 1280x800 screen, where the designed window would be about
# 1600 px wide. The main window and the suffix list editor (opened with Alt+I, its
# button "List") each lie whole on the screen; Escape closes the editor again.
# Usage: window_fits_at_1_5.sh path/to/orvella
export E2E_SCREEN=1280x800x24 QT_SCALE_FACTOR=1.5
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
e2e_begin "$@"

# on_screen window what: the window, as X shows it, lies whole on the screen.
on_screen() {
  local x y w h
  read -r x y w h < <(xwininfo -id "$1" | awk '/Absolute upper-left X/ { x = $NF } /Absolute upper-left Y/ { y = $NF }
    /Width:/ { w = $NF } /Height:/ { h = $NF } END { print x, y, w, h }')
  journal "$2 at $x,$y, ${w}x$h"
  ((x >= 0 && y >= 0 && x + w <= 1280 && y + h <= 800)) || fail "$2 at $x,$y, ${w}x$h runs off the 1280x800 screen"
  echo "${w}x$h"
}

start_program
main_size=$(on_screen "$MAIN" "the main window")
# Scaled down to fit, not cut: wider than two thirds of the screen.
[ "${main_size%x*}" -gt 853 ] || fail "the main window is only $main_size"

key_in "$MAIN" alt+i # "L&ist"
editor=$(wait_for_window '^Suffix List$')
on_screen "$editor" "the suffix list editor" >/dev/null
key_in "$editor" Escape
wait_gone "$editor"
main_back() { windows '^Orvella$' | grep -qx "$MAIN"; }
wait_until "the main window to come back" main_back
pass "at 1.5x on 1280x800 both windows lie on the screen ($main_size)"
