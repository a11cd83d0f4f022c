#!/usr/bin/env bash
# Starts the program headless on Qt's offscreen platform with the smoke driver
# preloaded (tools/smoke): the window must come up and paint, MonAtomic must run
# and move the chain, and Exit must end the program with status 0. A crash, a
# program that cannot start or a hang (120 s) fails.
# Usage: smoke-run.sh PROGRAM DRIVER [PNG]
set -euo pipefail
program=$1 driver=$2 png=${3:-}
[ -x "$program" ] || { echo "smoke-run.sh: no program at $program" >&2; exit 1; }
[ -f "$driver" ] || { echo "smoke-run.sh: no smoke driver at $driver" >&2; exit 1; }
# Settings the charts read go to a folder of the run's own.
config=$(mktemp -d)
trap 'rm -rf "$config"' EXIT
status=0
env XDG_CONFIG_HOME="$config" XDG_RUNTIME_DIR="$config" QT_QPA_PLATFORM=offscreen \
    LD_PRELOAD="$(realpath "$driver")" PHONARK_SMOKE_PNG="$png" \
    timeout 120 "$program" </dev/null || status=$?
if [ "$status" -ne 0 ]; then
  echo "smoke-run.sh: $program ended with status $status (124: it hung)" >&2
  exit 1
fi
echo "smoke-run.sh: $program came up, ran MonAtomic and ended through Exit"
