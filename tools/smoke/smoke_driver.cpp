// Preloaded into the program the run command builds (LD_PRELOAD), so that the test
// command can start that very program headless and use it as a person would: once
// the window has painted, click MonAtomic; once the run shows its caption and the
// chain has moved, click Exit. The program then ends by itself, and its exit status
// is the verdict. A problem the driver sees ends the process with status 3 and a
// line on standard error. It adds nothing to the program.
//
// PHONARK_SMOKE_PNG, when set, names a PNG to keep the running window in.
#include <QApplication>
#include <QCoreApplication>
#include <QImage>
#include <QPushButton>
#include <QTimer>
#include <QWidget>

#include <cstdio>
#include <cstdlib>

namespace {

constexpr int PollMs = 20;
// Polls the run is left to animate between its two pictures (and before Exit):
// a few seconds, which is what a smoke run is for; the order of the clicks
// follows what the window shows, not the time.
constexpr int RunPolls = 150;
constexpr int MaxPolls = 3000;  // a minute without progress is a failure

[[noreturn]] void Fail(const char* what) {
  std::fprintf(stderr, "smoke: %s\n", what);
  std::fflush(stderr);
  std::_Exit(3);
}

QWidget* MainWindow() {
  for (QWidget* w : QApplication::topLevelWidgets())
    if (w->isVisible() && w->windowTitle().startsWith("MONATOMIC CHAIN")) return w;
  return nullptr;
}

QPushButton* Button(QWidget* window, const char* text) {
  for (QPushButton* b : window->findChildren<QPushButton*>())
    if (b->text() == QLatin1String(text)) return b;
  Fail("a run button is missing");
}

// Clicked from the event queue, not from inside the poll: the run then loops in
// its own message pumping while the poll goes on.
void Click(QPushButton* b) { QMetaObject::invokeMethod(b, "click", Qt::QueuedConnection); }

int DistinctColours(const QImage& image) {
  QImage i = image.convertToFormat(QImage::Format_RGB32);
  QList<QRgb> seen;
  for (int y = 0; y < i.height(); y += 3)
    for (int x = 0; x < i.width(); x += 3) {
      QRgb c = i.pixel(x, y);
      if (!seen.contains(c)) seen.append(c);
      if (seen.size() > 16) return int(seen.size());
    }
  return int(seen.size());
}

struct Driver {
  enum { WaitWindow, WaitRun, Running, Exiting } phase = WaitWindow;
  int polls = 0, runPolls = 0;
  QImage first;

  void Poll() {
    if (++polls > MaxPolls) Fail(phase == WaitWindow ? "no main window came up" : "the run did not go on");
    QWidget* w = MainWindow();
    if (phase == WaitWindow) {
      if (!w) return;
      if (DistinctColours(w->grab().toImage()) < 4) Fail("the window painted nothing");
      Click(Button(w, "MonAtomic"));
      phase = WaitRun;
    } else if (phase == WaitRun) {
      if (w && w->windowTitle().contains("written by")) {
        first = w->grab().toImage();
        phase = Running;
      }
    } else if (phase == Running && ++runPolls == RunPolls) {
      if (!w) Fail("the window went away during the run");
      QImage now = w->grab().toImage();
      if (now == first) Fail("the chain did not move");
      if (const char* png = std::getenv("PHONARK_SMOKE_PNG"); png && *png) now.save(QString::fromLocal8Bit(png));
      Click(Button(w, "Exit"));
      phase = Exiting;
    }
  }
};

void Start() {
  auto* timer = new QTimer(QCoreApplication::instance());
  auto* driver = new Driver;
  QObject::connect(timer, &QTimer::timeout, [driver] { driver->Poll(); });
  QObject::connect(QCoreApplication::instance(), &QObject::destroyed, [driver] { delete driver; });
  timer->start(PollMs);
}

}  // namespace

Q_COREAPP_STARTUP_FUNCTION(Start)
