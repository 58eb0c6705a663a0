#!/usr/bin/env bash
# The window in a Wayland session: under a headless weston (pixman renderer, no X
# server) the program started with QT_QPA_PLATFORM=wayland maps its top-level window
# "Orvella", as weston's own scene graph shows it, and a close sent by the compositor
# (what a window's close button sends) ends it with status 0. The close comes from a
# small weston module built here (support/weston_close.c): the headless backend has no
# input device. Skipped (status 77), saying why, where weston, weston-debug, Qt's
# Wayland plugin or libweston's headers are missing or weston does not start.
# Usage: wayland_window.sh path/to/orvella
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
ORVELLA=$(readlink -f "${1:?usage: $0 path/to/orvella}")
skip() {
  echo "SKIP: $*"
  exit 77
}

for tool in weston weston-debug gcc pkg-config; do
  command -v "$tool" >/dev/null || skip "no $tool on the PATH (scripts/deps installs it)"
done
compgen -G "/usr/lib/*/qt6/plugins/platforms/libqwayland-generic.so" >/dev/null ||
  skip "no Wayland plugin for Qt (Debian: qt6-wayland)"
pkg-config --exists libweston-desktop-10 || skip "no libweston headers (Debian: libweston-10-dev)"

WORK=$(mktemp -d)
mkdir -p "$WORK/config" "$WORK/tmp" && mkdir -m 700 "$WORK/runtime"
export XDG_CONFIG_HOME="$WORK/config" XDG_RUNTIME_DIR="$WORK/runtime" TMPDIR="$WORK/tmp"
unset DISPLAY QT_QPA_PLATFORMTHEME XDG_CURRENT_DESKTOP DESKTOP_SESSION
PID="" WESTON=""
finish() {
  [ -z "$PID" ] || kill -KILL "$PID" 2>/dev/null || true
  [ -z "$WESTON" ] || { kill "$WESTON" 2>/dev/null; wait "$WESTON" 2>/dev/null; } || true
  rm -rf "$WORK"
}
trap finish EXIT

gcc -shared -fPIC -o "$WORK/weston_close.so" "$(dirname "${BASH_SOURCE[0]}")/support/weston_close.c" \
  $(pkg-config --cflags --libs libweston-desktop-10 libweston-10 wayland-server) >"$WORK/gcc.log" 2>&1 ||
  fail "the weston module does not build: $(cat "$WORK/gcc.log")"

weston --backend=headless-backend.so --use-pixman --socket=orvella --idle-time=0 --debug \
  --modules="$WORK/weston_close.so" >"$WORK/weston.log" 2>&1 &
WESTON=$!
until [ -S "$XDG_RUNTIME_DIR/orvella" ]; do
  kill -0 "$WESTON" 2>/dev/null || skip "weston does not start: $(tail -n 5 "$WORK/weston.log")"
  sleep 0.1
done
export WAYLAND_DISPLAY=orvella

(cd "$WORK" && QT_QPA_PLATFORM=wayland exec "$ORVELLA") >"$WORK/orvella.log" 2>&1 &
PID=$!
journal "start (pid $PID) under weston"
# The compositor's scene graph names a mapped top-level window by its title and app id.
until WAYLAND_DISPLAY=orvella weston-debug scene-graph 2>/dev/null | grep -q "top-level window 'Orvella' of orvella"; do
  kill -0 "$PID" 2>/dev/null || fail "the program ended before its window showed"
  kill -0 "$WESTON" 2>/dev/null || fail "weston ended: $(tail -n 5 "$WORK/weston.log")"
  sleep 0.1
done

journal "close from the compositor"
kill -USR2 "$WESTON"
status=0
wait "$PID" || status=$?
PID=""
[ "$status" -eq 0 ] || fail "closed, the program ended with status $status"
kill -0 "$WESTON" 2>/dev/null || fail "weston ended with the program"
pass "under a headless weston the window shows as the top-level window 'Orvella' and a close from the compositor ends the program with status 0"
