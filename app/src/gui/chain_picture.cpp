// Image1's picture data: a length byte and the graphic class name "TGIFImage",
// then the GIF stream of a 32 x 32 animation of four frames with a 16-colour table.
#include "app/mainwindow.h"
#include "gif/phonark_picture.h"

std::vector<std::uint8_t> Image1PictureData() { return PhonarkPictureData(); }
