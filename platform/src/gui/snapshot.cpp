// Rendering controls without a display.
#include <QBuffer>
#include <QImage>
#include <QWidget>

#include "forms_impl.h"
#include "platform/snapshot.h"

void RenderControl(TControl* Control, TBitmap* Bitmap) {
  QWidget* w = Control->GetImpl()->Widget;
  if (!w) throw EInvalidOperation("The control has no window to render");
  // Paints that wait for the loop (or for the control to be shown) happen now.
  forms_detail::PaintTree(Control);
  const int width = std::max(1, Control->Width()), height = std::max(1, Control->Height());
  // Into the bitmap's own pixels when they have the size (a control rendered again
  // and again): no new image each time.
  QImage img = TakeBitmapImage(Bitmap, width, height);
  if (img.isNull()) img = QImage(width, height, QImage::Format_RGB32);
  img.fill(ToQColor(Control->Color()));
  w->render(&img, QPoint(), QRegion(), QWidget::DrawWindowBackground | QWidget::DrawChildren);
  BitmapFromQImage(Bitmap, img);
}

namespace {

void WriteControlPng(TControl* Control, const std::string& FileName) {
  TBitmap bmp;
  RenderControl(Control, &bmp);
  QByteArray png;
  QBuffer buffer(&png);
  buffer.open(QIODevice::WriteOnly);
  if (!BitmapToQImage(&bmp).save(&buffer, "PNG")) throw EWriteError("Cannot encode \"" + FileName + "\" as PNG");
  SaveStreamToFile(FileName, [&](TStream* S) { S->WriteBuffer(png.constData(), png.size()); });
}

}  // namespace

bool SaveControlToPng(TControl* Control, const std::string& FileName, std::string* Reason) {
  try {
    WriteControlPng(Control, FileName);
    return true;
  } catch (const Exception& e) {
    if (Reason) *Reason = e.Message;
    return false;
  }
}
