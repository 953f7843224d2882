#!/usr/bin/env bash
# layout_edit.sh CLI IN OUT: OUT is IN saved line by line (tarvisk-cli set) after a few entries were
# changed and set back to the values the editor read: the round-trip checker then shows that the
# line-by-line save changed nothing else the script configures.
cli=$1 in=$2 out=$3
cp "$in" "$out" || exit 2
for key in buildCost maxhealth displayedName upLOD; do
  value=$("$cli" get "$out" "$key" 2>/dev/null | sed 's/^[^=]*= //; s/^"//; s/"$//') || exit 2
  "$cli" set "$key=4321" -- "$out" 2>/dev/null || exit 2
  "$cli" set "$key=$value" -- "$out" 2>/dev/null || exit 2
done
