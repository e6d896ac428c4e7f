#!/usr/bin/env bash
# Fuzzes the compiler with AFL++ under AddressSanitizer and UndefinedBehaviorSanitizer.
#
# usage: fuzz/run.sh [SECONDS] [HARNESS...]     (default: 60 seconds, every harness)
#
# Harnesses: frontend (lexer, parser and checker on one source file) and record (the
# dependency-record reader, and the checker on a program using the record's declarations).
# Builds the targets in build-fuzz when needed, runs the harnesses side by side (each for SECONDS,
# results in build-fuzz/findings/HARNESS; a later run resumes from the queue found so far), then
# reports per harness the inputs run, the coverage, and the crashes and hangs (> 10 s) found.
# Exits non-zero when any was found, after printing those inputs.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
seconds="${1:-60}"
shift || true
harnesses=("$@")
[ ${#harnesses[@]} -gt 0 ] || harnesses=(frontend record)
build="$root/build-fuzz"

if [ ! -f "$build/CMakeCache.txt" ]; then
  CXX=afl-clang-fast++ cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DZINTREL_FUZZ=ON -DZINTREL_SANITIZE=ON >/dev/null
fi
targets=()
for h in "${harnesses[@]}"; do targets+=("fuzz_$h"); done
AFL_QUIET=1 cmake --build "$build" -j"$(nproc)" --target "${targets[@]}" >/dev/null

# Sanitizer reports must end the process with a signal for AFL++ to count them as crashes.
export ASAN_OPTIONS=detect_leaks=0:abort_on_error=1:symbolize=0:allocator_may_return_null=1
export UBSAN_OPTIONS=halt_on_error=1:abort_on_error=1:print_stacktrace=1:symbolize=0
export AFL_NO_UI=1 AFL_SKIP_CPUFREQ=1 AFL_I_DONT_CARE_ABOUT_MISSING_CRASHES=1
export AFL_NO_AFFINITY=1 AFL_TRY_AFFINITY=0 AFL_AUTORESUME=1

pids=()
for h in "${harnesses[@]}"; do
  out="$build/findings/$h"
  work="$out/work"
  mkdir -p "$work/.zintrel"
  case "$h" in
    frontend) input="$work/main.zn" ;;
    record) input="$work/.zintrel/lib.dep" ;;
    *) echo "unknown harness: $h" >&2; exit 2 ;;
  esac
  afl-fuzz -i "$root/fuzz/corpus/$h" -o "$out" -x "$root/fuzz/zintrel.dict" -f "$input" \
    -m none -t 10000 -V "$seconds" -- "$build/fuzz_$h" "$input" >"$out.log" 2>&1 &
  pids+=($!)
done
status=0
for i in "${!pids[@]}"; do
  if ! wait "${pids[$i]}"; then
    echo "afl-fuzz failed for ${harnesses[$i]}:"; tail -n 20 "$build/findings/${harnesses[$i]}.log"
    status=1
  fi
done

stat() { sed -n "s/^$1 *: *//p" "$2" | head -n 1; }
for h in "${harnesses[@]}"; do
  out="$build/findings/$h/default"
  [ -f "$out/fuzzer_stats" ] || continue
  crashes=$(find "$out/crashes" "$out/hangs" -type f -name 'id:*' 2>/dev/null | wc -l)
  echo "$h: $(stat execs_done "$out/fuzzer_stats") inputs run," \
    "coverage $(stat bitmap_cvg "$out/fuzzer_stats")" \
    "($(stat edges_found "$out/fuzzer_stats") edges, $(stat corpus_count "$out/fuzzer_stats") queued)," \
    "$(stat saved_crashes "$out/fuzzer_stats") crashes, $(stat saved_hangs "$out/fuzzer_stats") hangs"
  if [ "$crashes" -gt 0 ]; then
    status=1
    for f in "$out"/crashes/id:* "$out"/hangs/id:*; do
      [ -f "$f" ] || continue
      echo "--- $f"
      head -c 2000 "$f"; echo
    done
  fi
done
exit $status
