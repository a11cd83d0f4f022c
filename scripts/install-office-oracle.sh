#!/usr/bin/env bash
# Installs the large independent readers the test set leaves out: LibreOffice's
# spreadsheet (libreoffice-calc-nogui), the reader of our BIFF spreadsheet export, its
# drawing program (libreoffice-draw-nogui) and Inkscape, which both draw our
# metafiles. Their oracle tests skip, saying so, until this has run.
set -euo pipefail
missing=()
for p in libreoffice-calc-nogui libreoffice-draw-nogui inkscape; do
  status=$(dpkg-query -W -f='${Status}' "$p" 2>/dev/null || true)
  [ "$status" = "install ok installed" ] || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0
as_root=()
[ "$(id -u)" -ne 0 ] && as_root=(sudo)
"${as_root[@]}" apt-get update -qq
"${as_root[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}"
