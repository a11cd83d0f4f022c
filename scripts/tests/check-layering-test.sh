#!/usr/bin/env bash
# check-layering.sh on small source trees: allowed includes pass, and each kind of
# breach fails and names its file and line.
set -euo pipefail
check=$(cd "$(dirname "$0")/.." && pwd)/check-layering.sh
source "$(dirname "$0")/tree-check.sh"

put platform/src/gui/window.cpp '#include <QWidget>' '#include "platform/forms.h"'
put platform/tests/support/gui_main.cpp '#include <QApplication>'
put gif/src/core/reduce.cpp '#include "quantize.h"' '#include "platform/rtl.h"' '#include <queue>'
put canvas/tools/sampler.cpp '#include <QImage>' '#include "canvas/canvas.h"'
put engine/src/axis.cpp '#include "canvas/canvas.h"' '#include "../include/engine/axis.h"'
put app/src/gui/units.cpp '#include "gif/gifunit.h"' '#include "chart/chart.h"'
put tools/chartsnap/main.cpp '#include <QApplication>' '#include "app/mainwindow.h"'
put bench/app_bench.cpp '#include "app/mainwindow.h"'
put gallery/tests/export_test.cpp '#include "samples/samplechart.h"'
put samples/src/samplechart.cpp '#include "chart/chart.h"'
put editor/src/funceditor.cpp '#include "analysis/unit.h"' '#include "gallery/editortools.h"'
expect_pass "allowed includes"

put gif/src/core/palette.cpp '#include "gif/palette.h"' '  #  include <QImage>'
expect_fail "Qt in the GIF core" "gif/src/core/palette.cpp:2"
put gif/tests/gui/unit_test.cpp '#include <QtGui/QScreen>'
expect_fail "Qt module folder in a test" "gif/tests/gui/unit_test.cpp:1"
put platform/include/platform/rtl.h '#include <qstring.h>'
expect_fail "Qt in a public platform header" "platform/include/platform/rtl.h:1"
put canvas/src/canvas.cpp '#include "chart/chart.h"'
expect_fail "a higher layer" "canvas/src/canvas.cpp:1"
put chart/src/chart.cpp '#include "gif/gifimage.h"'
expect_fail "the side module from the chart" "chart/src/chart.cpp:1"
put engine/src/axis.cpp '' '#include "../../chart/include/chart/chart.h"'
expect_fail "a higher layer by a relative path" "engine/src/axis.cpp:2"
put platform/src/core/units.cpp '#include <app/chain.h>'
expect_fail "the top from the bottom" "platform/src/core/units.cpp:1"
put gallery/src/seriesgallery.cpp '#include "editor/funceditor.h"'
expect_fail "the editor from the gallery" "gallery/src/seriesgallery.cpp:1"
put analysis/src/unit.cpp '#include "platform/classes.h"' '#include "editor/unit.h"'
expect_fail "the editor from the analysis layer" "analysis/src/unit.cpp:2"
put gallery/src/exportform.cpp '#include "samples/samplechart.h"'
expect_fail "the sample chart in a library" "gallery/src/exportform.cpp:1"

[ $failed -eq 0 ] && echo "check-layering-test: all cases behave"
exit $failed
