#!/usr/bin/env bash
# Writes the analysis functions' golden data (analysis/tests/data/*.csv) from
# independent implementations: pandas, scipy and Python's statistics module, and
# R's TTR package. Installs them first, only those missing. The tests read the
# CSVs only, so this runs when an input or an oracle changes, not in CI.
set -euo pipefail
cd "$(dirname "$0")/.."

pkgs=(python3-pandas python3-scipy python3-numpy r-cran-ttr)
missing=()
for p in "${pkgs[@]}"; do
  status=$(dpkg-query -W -f='${Status}' "$p" 2>/dev/null || true)
  [ "$status" = "install ok installed" ] || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  sudo_=""; [ "$(id -u)" = 0 ] || sudo_=sudo
  $sudo_ apt-get install -y -q "${missing[@]}" || { $sudo_ apt-get update -q && $sudo_ apt-get install -y -q "${missing[@]}"; }
fi

PY=/usr/bin/python3  # Debian's, which has the packages above
$PY tools/refgen/inputs.py
for f in tools/refgen/*.py; do
  [ "$(basename "$f")" = inputs.py ] && continue
  [ "$(basename "$f")" = common.py ] && continue
  echo "refgen: $f"; $PY "$f"
done
for f in tools/refgen/*.R; do
  [ -e "$f" ] || continue
  echo "refgen: $f"; Rscript --vanilla "$f"
done
