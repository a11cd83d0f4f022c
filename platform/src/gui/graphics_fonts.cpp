// The classic font names the forms and charts ask for, mapped to free fonts with the
// same metrics, so that layouts made for those names keep their widths.
#include <QFont>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QFontMetrics>
#include <QStringList>

#include <atomic>
#include <cstdlib>
#include <mutex>

#include "graphics_impl.h"
#include "platform/graphics.h"

namespace {

// "MS Sans Serif" at 8 points (11 pixels) gives an autosized label's default
// caption "Label1" 32 pixels; the sans candidates are measured against that.
constexpr int ClassicSansPixels = 11;
constexpr int ClassicLabel1Width = 32;

std::atomic<bool> measured{false};

// The installed candidates, those within a pixel of the classic width first, each
// group in the order given. Fonts can be measured only once the application
// exists; until then they stay in the order given.
QStringList ByClassicWidth(const QStringList& Candidates) {
  if (!QGuiApplication::instance()) return Candidates;
  measured = true;
  QStringList close, others;
  for (const QString& family : Candidates) {
    if (!QFontDatabase::hasFamily(family)) continue;
    QFont f(family);
    f.setPixelSize(ClassicSansPixels);
    const int width = QFontMetrics(f).horizontalAdvance(QStringLiteral("Label1"));
    (std::abs(width - ClassicLabel1Width) <= 1 ? close : others) << family;
  }
  return close + others;
}

}  // namespace

void InstallFontSubstitutes() {
  const QStringList sans = ByClassicWidth({"Liberation Sans", "DejaVu Sans Condensed", "DejaVu Sans"});
  const QStringList mono{"Liberation Mono", "DejaVu Sans Mono"};
  const QStringList serif{"Liberation Serif", "DejaVu Serif"};
  for (const char* name : {"MS Sans Serif", "Arial", "Tahoma", "Verdana", "Helvetica", "MS Shell Dlg",
                           "MS Shell Dlg 2", "Microsoft Sans Serif"}) {
    QFont::removeSubstitutions(name);
    QFont::insertSubstitutions(name, sans);
  }
  for (const char* name : {"Courier New", "Courier"}) QFont::insertSubstitutions(name, mono);
  QFont::insertSubstitutions("Times New Roman", serif);
}

void MeasureFontSubstitutes() {
  if (measured || !QGuiApplication::instance()) return;
  static std::mutex lock;
  std::lock_guard<std::mutex> g(lock);
  if (!measured) InstallFontSubstitutes();
}
