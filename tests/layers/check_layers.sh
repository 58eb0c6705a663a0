#!/usr/bin/env bash
# Fails when a file of src/ includes a folder of src/ that does not lie beneath its own
# (upward or sideways), naming each such include. The layers, bottom first:
#   core <- lists <- sorting, export, suffixes <- session <- cli, ui <- app
# ui, the widget kit, stands on core and lists alone; paper, the pages printed, on
# session and everything beneath it.
#   check_layers.sh [SRC_DIR]
set -euo pipefail
src="${1:-$(dirname "$0")/../../src}"

declare -A allowed=(
  [core]="core"
  [tables]="core tables"
  [names]="core tables names"
  [suffixes]="core tables suffixes"
  [lists]="core tables lists"
  [export]="core tables names suffixes lists export"
  [commands]="core tables names suffixes lists export commands"
  [session]="core tables names suffixes lists export commands session"
  [cli]="core tables names suffixes lists export commands session cli"
  [ui]="core tables lists ui"
  [paper]="core tables names suffixes lists export commands session paper"
  [app]="core tables names suffixes lists export commands session cli ui paper app"
)

faults=0
for dir in "$src"/*/; do
  layer=$(basename "$dir")
  if [[ -z "${allowed[$layer]+set}" ]]; then
    echo "$layer: a folder of src/ without a layer" >&2
    faults=$((faults + 1))
    continue
  fi
  while IFS= read -r hit; do
    file=${hit%%:*}
    rest=${hit#*:}
    line=${rest%%:*}
    target=$(sed -E 's/^[^"]*"([a-z]+)\/.*$/\1/' <<<"${rest#*:}")
    if [[ " ${allowed[$layer]} " != *" $target "* ]]; then
      echo "${file#"$src"/}:$line: $layer includes $target, which is not beneath it" >&2
      faults=$((faults + 1))
    fi
  done < <(grep -rHnE '^[[:space:]]*#[[:space:]]*include[[:space:]]*"[a-z]+/' "$dir" 2>/dev/null || true)
done
if ((faults)); then
  echo "$faults include(s) across the layers" >&2
  exit 1
fi
echo "every include of src/ runs downward"
