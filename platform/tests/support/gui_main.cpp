// Test main for GUI tests: Qt's offscreen platform at a fixed 96 dpi, the classic font
// names mapped to their free metric twins, the application palette taken from our fixed system-colour
// table, and the settings store in the program's own temporary folder. Pixel
// results are then the same on every machine, with or without a display.
#include <gtest/gtest.h>

#include <QApplication>
#include <QFont>
#include <QPalette>
#include <QStyleFactory>

#include <cstdlib>
#include <string>

#include "platform/graphics.h"
#include "platform/registry.h"
#include "platform/testing.h"
#include "test_temp.h"

namespace {

void FixEnvironment() {
  setenv("QT_QPA_PLATFORM", "offscreen", 1);
  setenv("QT_FONT_DPI", "96", 1);
  setenv("QT_SCALE_FACTOR", "1", 1);
  setenv("QT_ENABLE_HIGHDPI_SCALING", "0", 1);
  unsetenv("QT_SCREEN_SCALE_FACTORS");
  unsetenv("QT_STYLE_OVERRIDE");
}

void FixFonts() {
  InstallFontSubstitutes();
  QFont f("DejaVu Sans");
  f.setPixelSize(11);
  QApplication::setFont(f);
}

QColor Qt(TColor c) {
  TColor rgb = ColorToRGB(c);
  return QColor(GetRValue(rgb), GetGValue(rgb), GetBValue(rgb));
}

void FixColours() {
  QApplication::setStyle(QStyleFactory::create("Fusion"));
  QPalette p;
  p.setColor(QPalette::Window, Qt(clBtnFace));
  p.setColor(QPalette::WindowText, Qt(clWindowText));
  p.setColor(QPalette::Base, Qt(clWindow));
  p.setColor(QPalette::AlternateBase, Qt(clBtnFace));
  p.setColor(QPalette::Text, Qt(clWindowText));
  p.setColor(QPalette::Button, Qt(clBtnFace));
  p.setColor(QPalette::ButtonText, Qt(clBtnText));
  p.setColor(QPalette::Light, Qt(clBtnHighlight));
  p.setColor(QPalette::Midlight, Qt(cl3DLight));
  p.setColor(QPalette::Mid, Qt(clBtnShadow));
  p.setColor(QPalette::Dark, Qt(clBtnShadow));
  p.setColor(QPalette::Shadow, Qt(cl3DDkShadow));
  p.setColor(QPalette::Highlight, Qt(clHighlight));
  p.setColor(QPalette::HighlightedText, Qt(clHighlightText));
  p.setColor(QPalette::ToolTipBase, Qt(clInfoBk));
  p.setColor(QPalette::ToolTipText, Qt(clInfoText));
  p.setColor(QPalette::Disabled, QPalette::Text, Qt(clGrayText));
  p.setColor(QPalette::Disabled, QPalette::WindowText, Qt(clGrayText));
  p.setColor(QPalette::Disabled, QPalette::ButtonText, Qt(clGrayText));
  QApplication::setPalette(p);
}

// A hang guard that fires fails the running test under its name; scripts a test
// queued for modal loops that never ran are not handed to the next test.
class THangGuards : public testing::EmptyTestEventListener {
public:
  void OnTestStart(const testing::TestInfo&) override { TestInput::ClearModalScripts(); }
};

void ReportHang(const std::string& What) {
  const testing::TestInfo* t = testing::UnitTest::GetInstance()->current_test_info();
  ADD_FAILURE() << What << (t ? std::string(" (") + t->test_suite_name() + "." + t->name() + ")" : std::string());
}

}  // namespace

int main(int argc, char** argv) {
  MakeTestTempDir();
  SetRegistryRoot(TestTempDir());
  if (!getenv("XDG_RUNTIME_DIR")) setenv("XDG_RUNTIME_DIR", TestTempDir().c_str(), 1);
  FixEnvironment();
  QApplication app(argc, argv);
  FixFonts();
  FixColours();
  testing::InitGoogleTest(&argc, argv);
  testing::UnitTest::GetInstance()->listeners().Append(new THangGuards);
  TestInput::SetHangReport(ReportHang);
  GraphicsUnitInit();
  int rc = RUN_ALL_TESTS();
  GraphicsUnitDone();
  RemoveTestTempDir();
  return rc;
}
