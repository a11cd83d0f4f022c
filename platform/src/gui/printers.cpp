#include "platform/printers.h"

#include <QApplication>
#include <QImage>
#include <QPageLayout>
#include <QPageSetupDialog>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <algorithm>
#include <cmath>
#include <cstdio>

#include "canvas_qt.h"
#include "dialogs_impl.h"
#include "platform/classes.h"

namespace {
const char* const kFileEntry = "PDF file";

QString QStr(const std::string& s) { return QString::fromStdString(s); }
}  // namespace

struct TPrinter::Impl {
  explicit Impl(bool SystemQueues) : system(SystemQueues ? QPrinterInfo::availablePrinterNames() : QStringList()) {}
  QStringList system;
  int index = -1;
  QPageLayout::Orientation orientation = QPageLayout::Portrait;
  std::unique_ptr<QPrinter> printer;  // while a job runs
  QPainter painter;
  QImage page;
  QRect dirty;
  std::string partFile;

  bool FileChosen(const TPrinter& p) const { return !p.outputFile_.empty() && index == system.size(); }
  // The file entry's sheet, upright: A4 unless a size was set.
  static QPageSize FileSheet(const TPrinter& p) {
    const TSize s = p.filePageSize_;
    if (s.cx <= 0 || s.cy <= 0) return QPageSize(QPageSize::A4);
    return QPageSize(QSizeF(std::min(s.cx, s.cy), std::max(s.cx, s.cy)), QPageSize::Point);
  }
  // The orientation the device is given: a file sheet set wider than high turns it.
  QPageLayout::Orientation DeviceOrientation(const TPrinter& p) const {
    const TSize s = p.filePageSize_;
    if (!FileChosen(p) || s.cx <= s.cy) return orientation;
    return orientation == QPageLayout::Landscape ? QPageLayout::Portrait : QPageLayout::Landscape;
  }
  // The sheet in pixels at Dpi: the chosen queue's default page, for the file its own.
  QSize PageSize(const TPrinter& p) const {
    QPageSize size = FileSheet(p);
    if (!FileChosen(p) && index >= 0 && index < system.size()) {
      QPrinterInfo info = QPrinterInfo::printerInfo(system[index]);
      if (info.defaultPageSize().isValid()) size = info.defaultPageSize();
    }
    const QSizeF mm = size.size(QPageSize::Millimeter);  // rounded, where Qt's own pixels truncate
    QSize px(int(std::lround(mm.width() * p.resolution_ / 25.4)), int(std::lround(mm.height() * p.resolution_ / 25.4)));
    if (DeviceOrientation(p) == QPageLayout::Landscape) px.transpose();
    return px;
  }
};

IMPLEMENT_CLASS(TPrinter, TObject)

TPrinter::TPrinter(bool SystemQueues) : impl_(std::make_unique<Impl>(SystemQueues)) {
  const QString def = QPrinterInfo::defaultPrinterName();
  impl_->index = impl_->system.isEmpty() ? -1 : std::max<qsizetype>(0, impl_->system.indexOf(def));
}

TPrinter::~TPrinter() {
  if (printing_) {
    try {
      Abort();
    } catch (...) {
    }
  }
}

std::vector<std::string> TPrinter::Printers() const {
  std::vector<std::string> out;
  for (const QString& s : impl_->system) out.push_back(s.toStdString());
  if (!outputFile_.empty()) out.push_back(kFileEntry);
  return out;
}

int TPrinter::PrinterIndex() const { return impl_->index; }

void TPrinter::SetPrinterIndex(int Value) {
  if (Value < -1 || Value >= int(Printers().size())) throw EPrinter("Printer index out of range");
  if (printing_) throw EPrinter("Printing in progress");
  impl_->index = Value;
}

void TPrinter::SetOutputFile(const std::string& Value) {
  if (printing_) throw EPrinter("Printing in progress");
  outputFile_ = Value;
  if (!Value.empty()) impl_->index = int(impl_->system.size());
  else if (impl_->index >= int(impl_->system.size())) impl_->index = impl_->system.isEmpty() ? -1 : 0;
}

void TPrinter::SetFilePageSize(const TSize& Points) {
  if (printing_) throw EPrinter("Printing in progress");
  filePageSize_ = Points.cx > 0 && Points.cy > 0 ? Points : TSize{0, 0};
}

void TPrinter::SetResolution(int Value) {
  if (printing_) throw EPrinter("Printing in progress");
  resolution_ = std::clamp(Value, 72, 1200);
}

TPrinterOrientation TPrinter::Orientation() const {
  return impl_->orientation == QPageLayout::Landscape ? poLandscape : poPortrait;
}

void TPrinter::SetOrientation(TPrinterOrientation Value) {
  if (printing_) throw EPrinter("Printing in progress");
  impl_->orientation = Value == poLandscape ? QPageLayout::Landscape : QPageLayout::Portrait;
}

int TPrinter::PageWidth() const { return impl_->PageSize(*this).width(); }
int TPrinter::PageHeight() const { return impl_->PageSize(*this).height(); }

void TPrinter::CheckPrinting() const {
  if (!printing_) throw EPrinter("Printer is not currently printing");
}

void TPrinter::BeginDoc() {
  Impl& p = *impl_;
  if (printing_) throw EPrinter("Printing in progress");
  if (p.index < 0 || p.index >= int(Printers().size()))
    throw EPrinter("There is no default printer currently selected");
  auto printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
  if (p.FileChosen(*this)) {
    try {
      p.partFile = CreateFileBeside(outputFile_);
    } catch (const EFCreateError&) {
      p.partFile.clear();
      throw EPrinter("Cannot create file \"" + outputFile_ + "\"");
    }
    printer->setOutputFormat(QPrinter::PdfFormat);
    printer->setOutputFileName(QStr(p.partFile));
  } else {
    p.partFile.clear();
    printer->setPrinterName(p.system[p.index]);
  }
  printer->setResolution(resolution_);
  printer->setFullPage(true);
  if (p.FileChosen(*this)) printer->setPageSize(Impl::FileSheet(*this));
  printer->setPageOrientation(p.DeviceOrientation(*this));
  printer->setPageMargins(QMarginsF(0, 0, 0, 0));
  printer->setDocName(QStr(title_));
  printer->setCreator("Phonark");
  if (!p.painter.begin(printer.get())) {
    if (!p.partFile.empty()) std::remove(p.partFile.c_str());
    throw EPrinter("Printer selected is not valid");
  }
  p.painter.setRenderHint(QPainter::LosslessImageRendering);  // no JPEG for the page's pixels
  p.printer = std::move(printer);
  p.page = QImage(PageWidth(), PageHeight(), QImage::Format_RGB32);
  p.page.fill(Qt::white);
  p.dirty = QRect();
  if (!canvas_) canvas_ = std::make_unique<TCanvas>();
  AttachCanvasToSurface(canvas_.get(), {[&p] { return &p.page; }, {}, [&p](const QRect& r) { p.dirty |= r; }});
  printing_ = true;
  aborted_ = false;
  page_ = 1;
}

// Sends what was drawn on the page canvas to the device and clears it.
void TPrinter::FlushPage() {
  Impl& p = *impl_;
  const QRect r = p.dirty & p.page.rect();
  if (!r.isEmpty()) p.painter.drawImage(r.topLeft(), p.page, r);
  p.page.fill(Qt::white);
  p.dirty = QRect();
}

void TPrinter::NewPage() {
  CheckPrinting();
  FlushPage();
  impl_->printer->newPage();
  ++page_;
  canvas_->SetPenPos({0, 0});
}

namespace {
// The job's end, whatever happens: canvas unbound, device released.
void Release(TPrinter::Impl& p, TCanvas* canvas) {
  if (canvas) AttachCanvasToSurface(canvas, {});
  if (p.painter.isActive()) p.painter.end();
  p.printer.reset();
  p.page = QImage();
}
}  // namespace

void TPrinter::EndDoc() {
  CheckPrinting();
  Impl& p = *impl_;
  printing_ = false;
  try {
    FlushPage();
  } catch (...) {
    Release(p, canvas_.get());
    if (!p.partFile.empty()) std::remove(p.partFile.c_str());
    throw;
  }
  Release(p, canvas_.get());
  if (!p.partFile.empty() && std::rename(p.partFile.c_str(), outputFile_.c_str()) != 0) {
    std::remove(p.partFile.c_str());
    throw EPrinter("Cannot create file \"" + outputFile_ + "\"");
  }
}

void TPrinter::Abort() {
  CheckPrinting();
  Impl& p = *impl_;
  printing_ = false;
  aborted_ = true;
  if (p.printer && p.partFile.empty()) p.printer->abort();
  Release(p, canvas_.get());
  if (!p.partFile.empty()) std::remove(p.partFile.c_str());
}

TCanvas* TPrinter::Canvas() {
  if (!canvas_) canvas_ = std::make_unique<TCanvas>();
  return canvas_.get();
}

namespace {
std::unique_ptr<TPrinter>& ThePrinter() {
  static std::unique_ptr<TPrinter> p;
  return p;
}
}  // namespace

TPrinter* Printer() {
  if (!ThePrinter()) ThePrinter() = std::make_unique<TPrinter>();
  return ThePrinter().get();
}

void SetPrinter(TPrinter* Value) { ThePrinter().reset(Value); }

// ---------------------------------------------------------------------------
using dialogs_detail::RecordAsked;
using dialogs_detail::TakeAnswer;
using dialogs_detail::TAnswer;

IMPLEMENT_CLASS_PROPS(TPrintDialog, TCommonDialog)

void TPrintDialog::DefineProperties(TPropertyTable& t) {
  t.Int("Copies", &TPrintDialog::Copies, &TPrintDialog::SetCopies).Default(1LL);
  t.Int("FromPage", &TPrintDialog::FromPage, &TPrintDialog::SetFromPage).Default(0LL);
  t.Int("MaxPage", &TPrintDialog::MaxPage, &TPrintDialog::SetMaxPage).Default(0LL);
  t.Int("MinPage", &TPrintDialog::MinPage, &TPrintDialog::SetMinPage).Default(0LL);
  t.Enum("PrintRange", &TPrintDialog::PrintRange, &TPrintDialog::SetPrintRange,
         {"prAllPages", "prSelection", "prPageNums"}).Default((long long)prAllPages);
  t.Int("ToPage", &TPrintDialog::ToPage, &TPrintDialog::SetToPage).Default(0LL);
}

bool TPrintDialog::Execute() {
  if (RecordsInsteadOfShowing()) {
    TestDialogs::TAsked asked;
    asked.Kind = "Print";
    asked.Text = Format("%d-%d of %d-%d", fromPage_, toPage_, minPage_, maxPage_);
    TAnswer a = TakeAnswer(asked.Answered);
    const bool ok = a.Result == mrOk;
    if (ok && a.FromPage > 0) {  // a page range answered
      fromPage_ = std::clamp(a.FromPage, minPage_, std::max(minPage_, maxPage_));
      toPage_ = std::clamp(a.ToPage, fromPage_, std::max(fromPage_, maxPage_));
      range_ = prPageNums;
    }
    asked.Result = ok ? Format("%d-%d", fromPage_, toPage_) : "Cancel";
    RecordAsked(asked);
    return ok;
  }
  QPrinter printer;
  auto* d = new QPrintDialog(&printer, QApplication::activeWindow());
  d->setMinMax(minPage_, maxPage_);
  d->setFromTo(fromPage_, toPage_);
  QAbstractPrintDialog::PrintDialogOptions o = QAbstractPrintDialog::PrintToFile;
  if (options_ & poPageNums) o |= QAbstractPrintDialog::PrintPageRange;
  if (options_ & poSelection) o |= QAbstractPrintDialog::PrintSelection;
  d->setOptions(o);
  if (range_ == prPageNums) d->setPrintRange(QAbstractPrintDialog::PageRange);
  const int r = d->exec();
  const bool ok = r == QDialog::Accepted;
  if (ok) {
    fromPage_ = d->fromPage();
    toPage_ = d->toPage();
    range_ = d->printRange() == QAbstractPrintDialog::PageRange ? prPageNums
             : d->printRange() == QAbstractPrintDialog::Selection ? prSelection
                                                                   : prAllPages;
    copies_ = printer.copyCount();
  }
  delete d;
  return ok;
}

IMPLEMENT_CLASS(TPrinterSetupDialog, TCommonDialog)

bool TPrinterSetupDialog::Execute() {
  TPrinter* prn = Printer();
  if (RecordsInsteadOfShowing()) {
    TestDialogs::TAsked asked;
    asked.Kind = "PrinterSetup";
    const auto names = prn->Printers();
    const int i = prn->PrinterIndex();
    asked.Text = i >= 0 && i < int(names.size()) ? names[std::size_t(i)] : "";
    TAnswer a = TakeAnswer(asked.Answered);
    const bool ok = a.Result == mrOk;
    asked.Result = ok ? "OK" : "Cancel";
    RecordAsked(asked);
    return ok;
  }
  QPrinter printer;
  printer.setPageOrientation(prn->Orientation() == poLandscape ? QPageLayout::Landscape : QPageLayout::Portrait);
  QPageSetupDialog d(&printer, QApplication::activeWindow());
  if (d.exec() != QDialog::Accepted) return false;
  prn->SetOrientation(printer.pageLayout().orientation() == QPageLayout::Landscape ? poLandscape : poPortrait);
  return true;
}
