#!/usr/bin/env bash
# tarvisk-cli check against the load-time yardstick: Lua 5.1 loading and running the same scripts
# (../shared/tools/luaload.lua). Generates a mod of 544 scripts and a data directory with
# mod_bench, then prints the CPU time of each, per pass over the mod (best of REPEAT), and the
# per-line reading time of a 1,000-line and a 100,000-line script.
#
#   bench/check_vs_lua.sh [BUILD_DIR]     (needs lua5.1; REPEAT=10 passes by default)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build}
luaload=${LUALOAD:-$root/../shared/tools/luaload.lua}
repeat=${REPEAT:-10}
bench="$build/bin/mod_bench"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

"$bench" generate "$work" 544 >/dev/null
mapfile -t files < <(find "$work/mod" -name '*.ship' | sort)

# Both sides are compared by their best pass: on a busy machine the best is the figure least
# disturbed by other work. The two sides take turns, round after round, so that a slow spell of
# the machine falls on both alike.
# Lua: user + system CPU time of one process that runs every script 3 times, per pass.
# tarvisk-cli check: the best of 3 passes in one process, plain and with --data taking turns.
# Reading one long script: the best per-line time of a 1,000-line and a 100,000-line one, each
# read again in one process: the first reads of a process also pay for fresh memory, whose page
# faults cost much more on some virtual machines than the reading itself.
lua_ms=
plain_ms=
data_ms=
best_of() { awk -v a="$1" -v b="$2" 'BEGIN { if (b == "" || a + 0 < b + 0) print a; else print b }'; }
best() { sed -E 's/.*best ([0-9.]+) ms.*/\1/' <<<"$1"; }
per_line() { sed -E 's/.* ([0-9.]+) ns per line.*/\1/' <<<"$1"; }
small_ns=
large_ns=
for ((i = 0; i < repeat; ++i)); do
  t=$( { TIMEFORMAT='%U %S'; time lua5.1 "$luaload" 3 "${files[@]}" >/dev/null; } 2>&1 )
  lua_ms=$(best_of "$(awk -v t="$t" 'BEGIN { split(t, a, " "); printf "%.1f", (a[1] + a[2]) * 1000 / 3 }')" "$lua_ms")
  both=$("$bench" check "$work/mod" "$work/Data" 3)
  plain=$(grep '^check:' <<<"$both")
  data=$(grep '^check --data:' <<<"$both")
  plain_ms=$(best_of "$(best "$plain")" "$plain_ms")
  data_ms=$(best_of "$(best "$data")" "$data_ms")
  small_ns=$(best_of "$(per_line "$("$bench" lines "$work/lines_1000.ship" 20)")" "$small_ns")
  large_ns=$(best_of "$(per_line "$("$bench" lines "$work/lines_100000.ship" 8)")" "$large_ns")
done

echo "scripts: ${#files[@]}, $(cat "${files[@]}" | wc -l) lines"
echo "lua5.1 luaload.lua: best $lua_ms ms CPU per pass"
echo "check: best $plain_ms ms CPU per pass ($(sed -E 's/.*\(exit [0-9]+\) //' <<<"$plain" | tr -d '\n'))"
echo "check --data: best $data_ms ms CPU per pass ($(sed -E 's/.*\(exit [0-9]+\) //' <<<"$data" | tr -d '\n'))"
echo "read 1,000 lines: best $small_ns ns per line"
echo "read 100,000 lines: best $large_ns ns per line"
awk -v l="$lua_ms" -v p="$plain_ms" -v d="$data_ms" -v s="$small_ns" -v b="$large_ns" 'BEGIN {
  printf "check / lua        = %.2f (goal <= 0.50)\n", p / l
  printf "--data / check     = %.2f (goal <= 1.20)\n", d / p
  printf "100k / 1k per line = %.2f (goal <= 1.50)\n", b / s
}'
