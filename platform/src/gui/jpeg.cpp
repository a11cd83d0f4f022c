// JPEG over libjpeg. Its errors jump back (setjmp/longjmp) into the two small
// functions below, whose frames hold no C++ objects, and become EInvalidGraphic there.
#include "platform/jpeg.h"

#include <csetjmp>
#include <cstdio>
#include <algorithm>
#include <cstring>
#include <vector>

#include <jpeglib.h>

IMPLEMENT_CLASS(TJPEGImage, TGraphic)

namespace {

struct ErrorManager {
  jpeg_error_mgr pub;
  std::jmp_buf jump;
  char message[JMSG_LENGTH_MAX];
  bool warned;
};

void OnError(j_common_ptr info) {
  auto* e = reinterpret_cast<ErrorManager*>(info->err);
  info->err->format_message(info, e->message);
  std::longjmp(e->jump, 1);
}

void OnMessage(j_common_ptr info, int level) {
  auto* e = reinterpret_cast<ErrorManager*>(info->err);
  if (level < 0 && !e->warned) {  // a warning: corrupt or truncated data
    e->warned = true;
    info->err->format_message(info, e->message);
  }
}

void InitErrors(ErrorManager& e) {
  jpeg_std_error(&e.pub);
  e.pub.error_exit = OnError;
  e.pub.emit_message = OnMessage;
  e.message[0] = 0;
  e.warned = false;
}

struct Decoded {
  int width = 0, height = 0;
  std::vector<std::uint8_t> pixels;  // blue, green, red, unused per pixel
};

// False with Message filled on any error or warning.
bool Decode(const std::uint8_t* Data, std::size_t Size, Decoded* Out, char* Message) {
  jpeg_decompress_struct info;
  ErrorManager errors;
  InitErrors(errors);
  info.err = &errors.pub;
  jpeg_create_decompress(&info);
  if (setjmp(errors.jump)) {
    std::strcpy(Message, errors.message);
    jpeg_destroy_decompress(&info);
    return false;
  }
  jpeg_mem_src(&info, Data, static_cast<unsigned long>(Size));
  jpeg_read_header(&info, TRUE);
  if ((long long)info.image_width * info.image_height > JPEGMaxPixels || info.image_width == 0 ||
      info.image_height == 0) {
    std::snprintf(Message, JMSG_LENGTH_MAX, "Image of %u x %u pixels is too large", info.image_width,
                  info.image_height);
    jpeg_destroy_decompress(&info);
    return false;
  }
  const bool cmyk = info.jpeg_color_space == JCS_CMYK || info.jpeg_color_space == JCS_YCCK;
  info.out_color_space = cmyk ? JCS_CMYK : JCS_EXT_BGRX;
  // What libjpeg keeps of the whole image (progressive and multi-scan files) counts
  // against this; past it the file is refused rather than decoded.
  info.mem->max_memory_to_use = JPEGMaxWorkBytes;
  jpeg_start_decompress(&info);
  Out->width = int(info.output_width);
  Out->height = int(info.output_height);
  // Rows are kept as they are decoded, and decoding stops at the first sign that the
  // data ran out: a header declaring more than the file holds costs no more memory
  // than the rows the file really fills.
  const std::size_t rowBytes = std::size_t(Out->width) * 4;
  while (info.output_scanline < info.output_height && !errors.warned) {
    const std::size_t at = std::size_t(info.output_scanline) * rowBytes;
    if (at + rowBytes > Out->pixels.size())
      Out->pixels.resize(std::min(std::max(2 * Out->pixels.size(), at + rowBytes), rowBytes * Out->height));
    JSAMPROW row = Out->pixels.data() + at;
    jpeg_read_scanlines(&info, &row, 1);
  }
  if (!errors.warned) jpeg_finish_decompress(&info);
  jpeg_destroy_decompress(&info);
  if (errors.warned) {
    std::strcpy(Message, errors.message);
    return false;
  }
  if (cmyk) {  // stored inverted (as Adobe writes it): R = C * K / 255
    for (std::size_t i = 0; i < Out->pixels.size(); i += 4) {
      std::uint8_t* p = &Out->pixels[i];
      const int c = p[0], m = p[1], y = p[2], k = p[3];
      p[0] = std::uint8_t(y * k / 255);
      p[1] = std::uint8_t(m * k / 255);
      p[2] = std::uint8_t(c * k / 255);
      p[3] = 0;
    }
  }
  return true;
}

struct Encoded {
  unsigned char* data = nullptr;
  unsigned long size = 0;
};

bool Encode(const std::uint8_t* Pixels, int Width, int Height, int Quality, Encoded* Out, char* Message) {
  jpeg_compress_struct info;
  ErrorManager errors;
  InitErrors(errors);
  info.err = &errors.pub;
  jpeg_create_compress(&info);
  if (setjmp(errors.jump)) {
    std::strcpy(Message, errors.message);
    jpeg_destroy_compress(&info);
    return false;
  }
  jpeg_mem_dest(&info, &Out->data, &Out->size);
  info.image_width = JDIMENSION(Width);
  info.image_height = JDIMENSION(Height);
  info.input_components = 4;
  info.in_color_space = JCS_EXT_BGRX;
  jpeg_set_defaults(&info);
  jpeg_set_quality(&info, Quality, TRUE);
  jpeg_start_compress(&info, TRUE);
  while (info.next_scanline < info.image_height) {
    JSAMPROW row = const_cast<std::uint8_t*>(Pixels) + std::size_t(info.next_scanline) * Width * 4;
    jpeg_write_scanlines(&info, &row, 1);
  }
  jpeg_finish_compress(&info);
  jpeg_destroy_compress(&info);
  return true;
}

}  // namespace

TJPEGImage::TJPEGImage() : bitmap_(std::make_unique<TBitmap>()) { bitmap_->SetPixelFormat(pf32bit); }
TJPEGImage::~TJPEGImage() = default;

bool TJPEGImage::Empty() const { return bitmap_->Empty(); }
int TJPEGImage::Width() const { return bitmap_->Width(); }
int TJPEGImage::Height() const { return bitmap_->Height(); }

void TJPEGImage::SetWidth(int Value) {
  bitmap_->SetWidth(Value);
  Changed(this);
}

void TJPEGImage::SetHeight(int Value) {
  bitmap_->SetHeight(Value);
  Changed(this);
}

void TJPEGImage::SetCompressionQuality(int Value) { quality_ = std::clamp(Value, 1, 100); }

void TJPEGImage::Assign(TPersistent* Source) {
  if (auto* j = dynamic_cast<TJPEGImage*>(Source)) {
    if (j == this) return;
    bitmap_->Assign(j->bitmap_.get());
    quality_ = j->quality_;
    Changed(this);
    return;
  }
  if (auto* g = dynamic_cast<TGraphic*>(Source)) {
    auto b = std::make_unique<TBitmap>();
    b->SetPixelFormat(pf32bit);
    b->SetSize(g->Width(), g->Height());
    if (!g->Empty()) b->Canvas()->Draw(0, 0, g);
    bitmap_ = std::move(b);
    Changed(this);
    return;
  }
  TGraphic::Assign(Source);
}

void TJPEGImage::LoadFromStream(TStream* Stream) {
  const std::int64_t left = Stream->Size() - Stream->Position();
  if (left <= 0) throw EInvalidGraphic("JPEG error: the stream holds no image");
  std::vector<std::uint8_t> data(static_cast<std::size_t>(left));
  Stream->ReadBuffer(data.data(), left);
  Decoded d;
  char message[JMSG_LENGTH_MAX] = {};
  if (!Decode(data.data(), data.size(), &d, message)) throw EInvalidGraphic(std::string("JPEG error: ") + message);
  auto b = std::make_unique<TBitmap>();
  b->SetPixelFormat(pf32bit);
  b->SetSize(d.width, d.height);
  for (int y = 0; y < d.height; ++y)
    std::memcpy(b->ScanLine(y), &d.pixels[std::size_t(y) * d.width * 4], std::size_t(d.width) * 4);
  bitmap_ = std::move(b);
  Changed(this);
}

void TJPEGImage::SaveToStream(TStream* Stream) {
  if (Empty()) return;
  const int w = Width(), h = Height();
  std::vector<std::uint8_t> pixels(std::size_t(w) * h * 4);
  bitmap_->SetPixelFormat(pf32bit);
  for (int y = 0; y < h; ++y) std::memcpy(&pixels[std::size_t(y) * w * 4], bitmap_->ScanLine(y), std::size_t(w) * 4);
  Encoded e;
  char message[JMSG_LENGTH_MAX] = {};
  const bool ok = Encode(pixels.data(), w, h, quality_, &e, message);
  std::unique_ptr<unsigned char, void (*)(void*)> keep(e.data, std::free);
  if (!ok) throw EInvalidGraphic(std::string("JPEG error: ") + message);
  Stream->WriteBuffer(e.data, std::int64_t(e.size));
}

void TJPEGImage::Draw(TCanvas* ACanvas, const TRect& Rect) { bitmap_->Draw(ACanvas, Rect); }
