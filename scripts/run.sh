#!/usr/bin/env bash
# Installs what is missing, builds Phonark and starts it.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh run
bash scripts/build-run.sh
exec ./build-run/app/phonark "$@"
