#!/usr/bin/env bash
# Five classic benchmarks, Zintrel against plain C++ (g++ -O3).
# Usage: bench/classic/run.sh [RUNS]     (RUNS per program and side, default 3)
# Uses the repository's build/zintrel, or $ZINTREL. Builds both sides into $OUT (default
# /tmp/zintrel-bench-classic), checks that each pair prints the same output, then times every
# run. Times are CPU seconds (user + system) of the program, which stay meaningful on a shared
# machine; CLOCK=wall times elapsed seconds instead. Each row gives the medians and their ratio.
set -euo pipefail

RUNS=${1:-3}
HERE=$(cd "$(dirname "$0")" && pwd)
ROOT=$(cd "$HERE/../.." && pwd)
ZINTREL=${ZINTREL:-$ROOT/build/zintrel}
OUT=${OUT:-/tmp/zintrel-bench-classic}
CLOCK=${CLOCK:-cpu}
PROGRAMS=(nbody matrixnorm fannkuch binarytrees mandelbrot)

mkdir -p "$OUT"
for p in "${PROGRAMS[@]}"; do
	g++ -O3 -o "$OUT/$p.cpp.exe" "$HERE/$p.cpp"
	if ! "$ZINTREL" -r -o "$OUT/$p.zn.exe" "$HERE/$p.zn" > "$OUT/$p.build.log"; then
		cat "$OUT/$p.build.log"; exit 1
	fi
	"$OUT/$p.cpp.exe" > "$OUT/$p.cpp.txt"
	"$OUT/$p.zn.exe" > "$OUT/$p.zn.txt"
	if ! cmp -s "$OUT/$p.cpp.txt" "$OUT/$p.zn.txt"; then
		echo "$p: outputs differ"; diff "$OUT/$p.cpp.txt" "$OUT/$p.zn.txt" || true; exit 1
	fi
done

# One timed run: prints seconds on the clock chosen.
measure() {
	local t
	t=$( { /usr/bin/time -f '%e %U %S' "$1" > /dev/null; } 2>&1 | tail -n 1)
	if [ "$CLOCK" = wall ]; then
		echo "$t" | awk '{ print $1 }'
	else
		echo "$t" | awk '{ printf "%.2f\n", $2 + $3 }'
	fi
}

median() { sort -n | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }

printf '%-14s %10s %12s %7s   (%s seconds, median of %d)\n' program "C++ s" "Zintrel s" ratio "$CLOCK" "$RUNS"
for p in "${PROGRAMS[@]}"; do
	cpp=(); zn=()
	for ((r = 0; r < RUNS; r++)); do
		cpp+=("$(measure "$OUT/$p.cpp.exe")")
		zn+=("$(measure "$OUT/$p.zn.exe")")
	done
	c=$(printf '%s\n' "${cpp[@]}" | median)
	z=$(printf '%s\n' "${zn[@]}" | median)
	printf '%-14s %10.2f %12.2f %7s\n' "$p" "$c" "$z" "$(awk -v c="$c" -v z="$z" 'BEGIN { if (c > 0) printf "%.2f", z / c; else print "-" }')"
done
