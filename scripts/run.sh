#!/usr/bin/env bash
# Installs what is missing, builds Phonark and starts it.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh run
cmake -S . -B build-run -G Ninja -DCMAKE_BUILD_TYPE=Release -DPHONARK_TESTS=OFF -DPHONARK_BENCH=OFF >/dev/null
cmake --build build-run --target phonark
exec ./build-run/app/phonark "$@"
