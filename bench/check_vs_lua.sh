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
# disturbed by other work.
# Lua: user + system CPU time of one process that runs every script 3 times, the best of REPEAT
# processes, per pass.
lua_ms=
for ((i = 0; i < repeat; ++i)); do
  t=$( { TIMEFORMAT='%U %S'; time lua5.1 "$luaload" 3 "${files[@]}" >/dev/null; } 2>&1 )
  lua_ms=$(awk -v t="$t" -v best="$lua_ms" 'BEGIN { split(t, a, " "); ms = (a[1] + a[2]) * 1000 / 3;
    if (best == "" || ms < best) best = ms; printf "%.1f", best }')
done

plain=$("$bench" check "$work/mod" "" "$repeat")
data=$("$bench" check "$work/mod" "$work/Data" "$repeat")
best() { sed -E 's/.*best ([0-9.]+) ms.*/\1/' <<<"$1"; }
plain_ms=$(best "$plain")
data_ms=$(best "$data")

small=$("$bench" lines "$work/lines_1000.ship" 50)
large=$("$bench" lines "$work/lines_100000.ship" 3)
per_line() { sed -E 's/.* ([0-9.]+) ns per line.*/\1/' <<<"$1"; }

echo "scripts: ${#files[@]}, $(cat "${files[@]}" | wc -l) lines"
echo "lua5.1 luaload.lua: best $lua_ms ms CPU per pass"
echo "$plain"
echo "$data"
echo "$small"
echo "$large"
awk -v l="$lua_ms" -v p="$plain_ms" -v d="$data_ms" -v s="$(per_line "$small")" -v b="$(per_line "$large")" 'BEGIN {
  printf "check / lua        = %.2f (goal <= 0.50)\n", p / l
  printf "--data / check     = %.2f (goal <= 1.20)\n", d / p
  printf "100k / 1k per line = %.2f (goal <= 1.50)\n", b / s
}'
