// The classic font names the forms and charts ask for, mapped to free fonts with the
// same metrics, so that layouts made for those names keep their widths; application
// fonts from memory and the screen's font list.
#include <QByteArray>
#include <QFont>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QFontMetrics>
#include <QStringList>

#include <atomic>
#include <cstdlib>
#include <mutex>
#include <set>

#include "graphics_impl.h"
#include "platform/forms.h"
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

std::atomic<unsigned> FontDatabaseGeneration{0};

namespace {
// Handles not yet removed: the font database answers true for any id.
std::set<int>& LiveFonts() {
  static std::set<int> live;
  return live;
}
}  // namespace

int AddFontMemResource(const void* Data, std::size_t Size, std::vector<std::string>* Families) {
  if (!Data || Size == 0) return 0;
  const int id =
      QFontDatabase::addApplicationFontFromData(QByteArray(static_cast<const char*>(Data), qsizetype(Size)));
  if (id < 0) return 0;
  if (Families)
    for (const QString& f : QFontDatabase::applicationFontFamilies(id)) Families->push_back(f.toStdString());
  LiveFonts().insert(id + 1);
  ++FontDatabaseGeneration;
  return id + 1;
}

bool RemoveFontMemResource(int Handle) {
  if (LiveFonts().erase(Handle) == 0) return false;
  const bool removed = QFontDatabase::removeApplicationFont(Handle - 1);
  ++FontDatabaseGeneration;
  return removed;
}

TStrings* TScreen::Fonts() const {
  QStringList families = QFontDatabase::families();
  families.sort(Qt::CaseInsensitive);
  fonts_.BeginUpdate();
  fonts_.Clear();
  for (const QString& f : families) fonts_.Add(f.toStdString());
  fonts_.EndUpdate();
  return &fonts_;
}
