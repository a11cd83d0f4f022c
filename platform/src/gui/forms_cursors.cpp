// Cursors from cursor files, the cursor name table, the mouse position and capture.
#include <QApplication>
#include <QBuffer>
#include <QCursor>
#include <QFile>
#include <QGuiApplication>
#include <QImageReader>
#include <QPixmap>

#include <cstring>

#include "canvas_qt.h"
#include "forms_impl.h"
#include "platform/resources.h"

HCURSOR CreateCursorFromData(const std::uint8_t* Data, std::size_t Size) {
  // Header: reserved 0, type (1 icon, 2 cursor), count; then 16-byte entries whose
  // planes/bit-count words hold a cursor's hot spot.
  if (!Data || Size < 22 || Data[0] || Data[1] || (Data[2] != 1 && Data[2] != 2) || Data[3]) return 0;
  const bool cursor = Data[2] == 2;
  const int hotX = cursor ? Data[10] | Data[11] << 8 : -1;
  const int hotY = cursor ? Data[12] | Data[13] << 8 : -1;
  // Qt's icon reader takes both: a cursor is read as the icon it is but for the type.
  QByteArray bytes(reinterpret_cast<const char*>(Data), qsizetype(Size));
  bytes[2] = 1;
  QBuffer buf(&bytes);
  buf.open(QIODevice::ReadOnly);
  QImageReader reader(&buf, "ico");
  QImage img = reader.read();
  if (img.isNull()) return 0;
  return HCURSOR(new QCursor(QPixmap::fromImage(img), hotX, hotY));
}

void DestroyCursor(HCURSOR Cursor) { delete reinterpret_cast<QCursor*>(Cursor); }

HCURSOR LoadCursorFromResourceName(const std::string& Name) {
  const std::uint8_t* data = nullptr;
  std::size_t size = 0;
  return FindResource(Name, data, size) ? CreateCursorFromData(data, size) : 0;
}

HCURSOR LoadCursorFromFile(const std::string& FileName) {
  QFile f(QString::fromStdString(FileName));
  if (!f.open(QIODevice::ReadOnly)) return 0;
  const QByteArray bytes = f.readAll();
  return CreateCursorFromData(reinterpret_cast<const std::uint8_t*>(bytes.constData()), std::size_t(bytes.size()));
}

bool CursorHasPicture(HCURSOR Cursor) {
  const auto* q = reinterpret_cast<const QCursor*>(Cursor);
  return q && !q->pixmap().isNull();
}

TPoint CursorHotSpot(HCURSOR Cursor) {
  const auto* q = reinterpret_cast<const QCursor*>(Cursor);
  return q ? TPoint{q->hotSpot().x(), q->hotSpot().y()} : TPoint{0, 0};
}

void DrawCursor(TCanvas* Canvas, int X, int Y, HCURSOR Cursor) {
  const auto* q = reinterpret_cast<const QCursor*>(Cursor);
  if (!Canvas || !q || q->pixmap().isNull()) return;
  const QImage img = q->pixmap().toImage().convertToFormat(QImage::Format_ARGB32);
  // See-through where the cursor is (mostly) transparent.
  QImage mask(img.size(), QImage::Format_RGB32);
  for (int y = 0; y < img.height(); ++y)
    for (int x = 0; x < img.width(); ++x) mask.setPixel(x, y, qAlpha(img.pixel(x, y)) < 128 ? 0xFFFFFFFFu : 0xFF000000u);
  const QPoint hot = q->hotSpot();
  const TRect dest = Bounds(X - hot.x(), Y - hot.y(), img.width(), img.height());
  CanvasDrawImage(Canvas, dest, img.convertToFormat(QImage::Format_RGB32), img.rect(), &mask);
}

namespace {
const struct {
  TCursor Value;
  const char* Name;
} kCursorNames[] = {
    {crDefault, "crDefault"},   {crNone, "crNone"},         {crArrow, "crArrow"},       {crCross, "crCross"},
    {crIBeam, "crIBeam"},       {crSizeNESW, "crSizeNESW"}, {crSizeNS, "crSizeNS"},     {crSizeNWSE, "crSizeNWSE"},
    {crSizeWE, "crSizeWE"},     {crUpArrow, "crUpArrow"},   {crHourGlass, "crHourGlass"}, {crDrag, "crDrag"},
    {crNoDrop, "crNoDrop"},     {crHSplit, "crHSplit"},     {crVSplit, "crVSplit"},     {crMultiDrag, "crMultiDrag"},
    {crSQLWait, "crSQLWait"},   {crNo, "crNo"},             {crAppStart, "crAppStart"}, {crHelp, "crHelp"},
    {crHandPoint, "crHandPoint"}, {crSizeAll, "crSizeAll"}, {crLumHand, "crLumHand"},
};
}  // namespace

bool CursorToIdent(TCursor Cursor, std::string& Ident) {
  for (const auto& e : kCursorNames)
    if (e.Value == Cursor) {
      Ident = e.Name;
      return true;
    }
  return false;
}

bool IdentToCursor(const std::string& Ident, TCursor& Cursor) {
  for (const auto& e : kCursorNames)
    if (SameText(Ident, e.Name)) {
      Cursor = e.Value;
      return true;
    }
  return false;
}

std::string CursorToString(TCursor Cursor) {
  std::string s;
  return CursorToIdent(Cursor, s) ? s : IntToStr(Cursor);
}

TCursor StringToCursor(const std::string& S) {
  TCursor c = crDefault;
  return IdentToCursor(S, c) ? c : TCursor(StrToInt(S));
}

void GetCursorValues(const std::function<void(const std::string&)>& Proc) {
  for (const auto& e : kCursorNames) Proc(e.Name);
}

TPoint GetCursorPos() {
  const QPoint p = QCursor::pos();
  return {p.x(), p.y()};
}

namespace {
// The widget holding the mouse. Kept here too, since not every platform grabs (the
// offscreen one does not), and a control's capture must read back the same.
QPointer<QWidget> captured;

bool PlatformGrabs() { return QGuiApplication::platformName() != "offscreen"; }
}  // namespace

TControl* GetCaptureControl() { return captured ? forms_detail::ControlOf(captured) : nullptr; }

void ReleaseCapture() {
  if (captured && PlatformGrabs() && QWidget::mouseGrabber() == captured) captured->releaseMouse();
  captured = nullptr;
}

bool TControl::MouseCapture() const { return impl_->Widget && captured == impl_->Widget; }

void TControl::SetMouseCapture(bool Value) {
  QWidget* w = impl_->Widget;
  if (!w) return;
  if (Value && w->isVisible() && captured != w) {
    ReleaseCapture();
    captured = w;
    if (PlatformGrabs()) w->grabMouse();
  } else if (!Value && captured == w) {
    ReleaseCapture();
  }
}

void TControl::DblClick() {
  if (OnDblClick) OnDblClick(this);
}

void TControl::MouseEnter() {
  if (OnMouseEnter) OnMouseEnter(this);
}

void TControl::MouseLeave() {
  if (OnMouseLeave) OnMouseLeave(this);
}
