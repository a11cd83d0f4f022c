#include "gif/phonark_picture.h"

#include <cstring>

#include "phonark_gif_bytes.h"  // generated from gif/assets/phonark.gif

const std::uint8_t* PhonarkGIFData() { return PhonarkGIFBytes; }
std::size_t PhonarkGIFSize() { return sizeof PhonarkGIFBytes; }

std::vector<std::uint8_t> PhonarkPictureData() {
  static const char Name[] = "TGIFImage";
  const std::size_t n = sizeof Name - 1;
  std::vector<std::uint8_t> data(1 + n + PhonarkGIFSize());
  data[0] = std::uint8_t(n);
  std::memcpy(data.data() + 1, Name, n);
  std::memcpy(data.data() + 1 + n, PhonarkGIFData(), PhonarkGIFSize());
  return data;
}
