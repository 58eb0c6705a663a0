#!/usr/bin/env bash
# Fails when a program of the engine's layers (given as arguments) loads Qt Gui or Qt
# Widgets: the engine needs Qt Core alone.
set -euo pipefail
faults=0
for program in "$@"; do
  if ldd "$program" | grep -E 'libQt6(Gui|Widgets)' >&2; then
    echo "$(basename "$program") loads Qt Gui or Widgets" >&2
    faults=$((faults + 1))
  fi
done
((faults == 0)) && echo "the engine's $# programs load Qt Core alone"
exit $((faults > 0))
