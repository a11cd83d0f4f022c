#!/usr/bin/env bash
# Builds the program exactly as the run command starts it: the one place its build
# options live. run.sh starts what this builds; test.sh builds the same and starts
# it headless for a smoke run.
set -euo pipefail
cd "$(dirname "$0")/.."
cmake -S . -B build-run -G Ninja -DCMAKE_BUILD_TYPE=Release -DPHONARK_TESTS=OFF -DPHONARK_BENCH=OFF >/dev/null
cmake --build build-run --target phonark
