// Image1's picture data: a length byte and the graphic class name "TGIFImage",
// then the GIF stream of a 32 x 32 animation of four frames with a 16-colour table.
// The GIF stream comes with the GIF codec's picture format; until then the stream
// is empty and the window leaves the picture empty.
#include "chain.h"

const unsigned char Image1PictureData[] = {9, 'T', 'G', 'I', 'F', 'I', 'm', 'a', 'g', 'e'};
const unsigned Image1PictureSize = sizeof Image1PictureData;
