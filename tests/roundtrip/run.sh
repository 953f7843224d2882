#!/usr/bin/env bash
# Round trip of every test script and sample: normalizing twice gives the same bytes as once, and
# (when Lua 5.1 and the shared checker are there) nothing a script configures is lost, neither by
# normalizing nor by the line-by-line save.
#   run.sh CLI CHECKER OUTDIR SCRIPT...
# EMULATOR, when set, is the program that runs CLI (Wine for a Windows build). REFERENCE_CLI, when
# set, is another tarvisk-cli (the build machine's own) whose output must be the same bytes.
set -u
cli=$1 checker=$2 out=$3
shift 3
run=(${EMULATOR:+"$EMULATOR"} "$cli")
reference=${REFERENCE_CLI:-}
mkdir -p "$out"
status=0
for f in "$@"; do
  base=$(basename "$f")
  "${run[@]}" normalize "$f" "$out/once_$base" 2>/dev/null
  rc=$?
  if [ $rc -gt 0 ]; then echo "FAIL: normalize $f exited $rc"; status=1; continue; fi
  "${run[@]}" normalize "$out/once_$base" "$out/twice_$base" 2>/dev/null
  if ! cmp -s "$out/once_$base" "$out/twice_$base"; then
    echo "FAIL: normalizing $f is not idempotent"; diff "$out/once_$base" "$out/twice_$base" | head -20
    status=1
  fi
  if [ -n "$reference" ]; then
    "$reference" normalize "$f" "$out/reference_$base" 2>/dev/null
    if ! cmp "$out/once_$base" "$out/reference_$base"; then
      echo "FAIL: $f is written differently by $cli and by $reference"
      diff "$out/once_$base" "$out/reference_$base" | head -20
      status=1
    fi
  fi
done
if [ -n "$reference" ]; then echo "byte comparison with $reference: $# scripts"; fi
if command -v lua5.1 >/dev/null 2>&1 && [ -f "$checker" ]; then
  summary=$(python3 "$checker" "$(printf '%q ' "${run[@]}") normalize" "$out/sem" "$@" | tee /dev/stderr | tail -n 1)
  case "$summary" in
    *" broken=0 lost_keys=0 lost_calls=0 "*" added_calls=0 crashes=0") ;;
    *) echo "FAIL: the round-trip checker found losses: $summary"; status=1 ;;
  esac
  # The line-by-line save, with edits set back: nothing else may change. (kept_values.ship holds
  # lines the editor reads as other values, so setting its own values back is not a no-op there.)
  edited=()
  for f in "$@"; do [ "$(basename "$f")" = kept_values.ship ] || edited+=("$f"); done
  here=$(dirname "$0")
  summary=$(python3 "$checker" "bash $here/layout_edit.sh $cli" "$out/layout" "${edited[@]}" | tee /dev/stderr | tail -n 1)
  case "$summary" in
    *" broken=0 lost_keys=0 lost_calls=0 "*" added_calls=0 crashes=0") ;;
    *) echo "FAIL: the line-by-line save lost something: $summary"; status=1 ;;
  esac
else
  echo "note: lua5.1 or $checker missing, semantic round trip skipped"
fi
[ $status -eq 0 ] && echo "round trip: $# scripts, 1 passed, 0 failed" || echo "round trip: 0 passed, 1 failed"
exit $status
