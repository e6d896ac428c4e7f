#!/usr/bin/env bash
# Speed of Zintrel.Collections beside std::vector and std::unordered_map: builds collections.zn
# with the compiler and collections.cpp with g++ -O3 (the optimisation generated code gets),
# runs both and prints each phase's times and their ratio. A benchmark, run by hand after
# building the compiler:
#   bash bench/collections/run.sh [build/zintrel]
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
zintrel="$(realpath "${1:-build/zintrel}")"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

cp "$here/collections.zn" "$work/main.zn"
"$zintrel" -o "$work/zintrel-bench" "$work/main.zn" > "$work/build.log" || { cat "$work/build.log"; exit 1; }
g++ -std=c++20 -O3 -o "$work/cpp-bench" "$here/collections.cpp"

"$work/zintrel-bench" > "$work/zintrel.txt"
"$work/cpp-bench" > "$work/cpp.txt"

# Lines: NAME MS ms, check N. Phases only the C++ program has are shown without a ratio.
awk '
  FNR == NR { zms[$1] = $2; zcheck[$1] = $5; next }
  FNR == 1 { printf "%-18s %10s %10s %7s\n", "phase", "zintrel", "c++", "ratio" }
  {
    if ($1 in zms) {
      printf "%-18s %7d ms %7d ms %6.2fx\n", $1, zms[$1], $2, ($2 > 0 ? zms[$1] / $2 : 0)
      if (zcheck[$1] != $5) printf "  warning: check %s in Zintrel, %s in C++\n", zcheck[$1], $5
    } else {
      printf "%-18s %10s %7d ms\n", $1, "-", $2
    }
  }' "$work/zintrel.txt" "$work/cpp.txt"
