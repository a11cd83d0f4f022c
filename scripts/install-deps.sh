#!/usr/bin/env bash
# Installs the Debian packages Phonark needs, only those missing. Runs apt-get
# directly as root, through sudo otherwise.
# Usage: install-deps.sh [build|run|test]   (default: build)
set -euo pipefail
what=${1:-build}

# Every set: the compiler and build tools, Qt, libjpeg for JPEG pictures, chmcmd for
# the help file, and the fonts that the forms' classic font names map to.
pkgs=(cmake ninja-build g++ qt6-base-dev libjpeg62-turbo-dev fp-utils fonts-dejavu-core fonts-liberation)
case "$what" in
  # Running: Qt's platform plugins for a desktop, xdg-open for Help and the viewer
  # of the compiled help file.
  run)  pkgs+=(qt6-qpa-plugins xdg-utils xchm) ;;
  # Testing: GoogleTest and GoogleMock; QCustomPlot, giflib and pandas for the
  # benchmarks' side-by-side figures (linked into or run beside those benchmarks
  # only); Free Pascal, whose class library reads our component streams
  # independently; ccache, so that the run command's build and the test build
  # compile each object once.
  test) pkgs+=(libgtest-dev libgmock-dev libqcustomplot-dev libgif-dev python3-pandas fp-compiler ccache) ;;
  build) ;;
  *) echo "install-deps.sh: unknown set '$what'" >&2; exit 2 ;;
esac

# The independent readers and sample files that the GIF tests and benchmarks compare
# against (giftext/giftool, PIL, giftopnm, convert; Tk's and the flag set's GIF
# pictures; xmllint for the XML exports); the tests skip what is missing, and
# PHONARK_ORACLES= leaves them out.
[ "$what" = test ] && [ -n "${PHONARK_ORACLES:-1}" ] && \
  pkgs+=(giflib-tools python3-pil netpbm imagemagick libtk8.6 famfamfam-flag-gif libjpeg-turbo-progs
         python3-numpy libxml2-utils)
# The readers of printed pages and metafiles: poppler (pdftoppm, pdfinfo), qpdf
# (checks a PDF's structure), emf2svg
# and libwmf (wmf2svg, with the Ghostscript fonts it looks for), librsvg to draw
# their SVG. Inkscape, which draws the metafiles themselves, is large: install-office-oracle.sh
# adds it. CUPS and cups-pdf: the print test starts a cupsd of its own with a PDF
# queue (it runs as root; otherwise it is skipped).
[ "$what" = test ] && [ -n "${PHONARK_ORACLES:-1}" ] && \
  pkgs+=(poppler-utils qpdf emf2svg libwmf-bin gsfonts librsvg2-bin cups printer-driver-cups-pdf)

missing=()
for p in "${pkgs[@]}"; do
  status=$(dpkg-query -W -f='${Status}' "$p" 2>/dev/null || true)
  [ "$status" = "install ok installed" ] || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

as_root=()
if [ "$(id -u)" -ne 0 ]; then
  if ! command -v sudo >/dev/null; then
    echo "install-deps.sh: missing ${missing[*]}; run this as root or install sudo" >&2
    exit 1
  fi
  as_root=(sudo)
fi
echo "Installing: ${missing[*]}"
"${as_root[@]}" apt-get update -qq
# Through env, so that sudo does not drop the setting.
"${as_root[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}"
