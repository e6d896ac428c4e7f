#!/usr/bin/env bash
# Builds and runs every test: once in a release build, once under AddressSanitizer and
# UndefinedBehaviorSanitizer, with every compiler warning an error.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
jobs="$(nproc)"

cmake -S . -B build -DCMAKE_BUILD_TYPE=Release -DZINTREL_WERROR=ON >/dev/null
cmake --build build -j"$jobs"
ctest --test-dir build --output-on-failure -j"$jobs"

cmake -S . -B build-sanitize -DCMAKE_BUILD_TYPE=Debug -DZINTREL_SANITIZE=ON -DZINTREL_WERROR=ON >/dev/null
cmake --build build-sanitize -j"$jobs"
# Nodes live until the process ends on purpose, so leak detection stays off.
ASAN_OPTIONS=detect_leaks=0:abort_on_error=0 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
  ctest --test-dir build-sanitize --output-on-failure -j"$jobs"

# A minute of fuzzing per harness (AFL++ under ASan+UBSan, in build-fuzz); fails on any crash
# or hang.
bash fuzz/run.sh 60
