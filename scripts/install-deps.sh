#!/usr/bin/env bash
# Installs the Debian packages Phonark needs, only those missing.
# Usage: install-deps.sh [build|run|test]   (default: build)
set -euo pipefail
what=${1:-build}

pkgs=(cmake ninja-build g++ pkg-config qt6-base-dev qt6-qpa-plugins libjpeg62-turbo-dev
      fonts-dejavu-core fonts-liberation fp-utils)
case "$what" in
  run)  pkgs+=(xdg-utils xchm) ;;
  test) pkgs+=(libgtest-dev libgmock-dev libbenchmark-dev libqcustomplot-dev libgif-dev) ;;
  build) ;;
  *) echo "install-deps.sh: unknown set '$what'" >&2; exit 2 ;;
esac
[ "$what" = test ] && [ -n "${PHONARK_ORACLES:-1}" ] && \
  pkgs+=(giflib-tools python3-pil netpbm imagemagick libtk8.6 famfamfam-flag-gif libjpeg-turbo-progs)

missing=()
for p in "${pkgs[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=""
[ "$(id -u)" -ne 0 ] && sudo=sudo
echo "Installing: ${missing[*]}"
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
