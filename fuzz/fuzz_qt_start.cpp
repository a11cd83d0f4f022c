// Start-up of the fuzz targets on Qt code: one headless application (offscreen
// platform) for the whole run, with the graphics unit's formats registered.
#include <QApplication>

#include <cstdlib>

#include "platform/graphics.h"

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
  setenv("QT_QPA_PLATFORM", "offscreen", 1);
  static QApplication app(*argc, *argv);
  InstallFontSubstitutes();
  GraphicsUnitInit();
  return 0;
}
