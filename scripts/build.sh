#!/usr/bin/env bash
# Builds everything into build/ (the compiler and its core modules) and runs the main job: the
# bundled example compiled and run.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build -j"$(nproc)"
build/zintrel -x -o build/hello examples/hello.zn
