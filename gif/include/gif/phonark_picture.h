// The main window's animated picture (gif/assets/phonark.gif), compiled in.
#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

// The GIF stream.
const std::uint8_t* PhonarkGIFData();
std::size_t PhonarkGIFSize();
// Picture data as TPicture::LoadFromStream reads it: a length byte, the class
// name "TGIFImage", then the GIF stream.
std::vector<std::uint8_t> PhonarkPictureData();
