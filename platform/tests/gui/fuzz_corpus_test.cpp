#include "fuzz_replay.h"
#include "graphics_fuzz_targets.h"

PHONARK_FUZZ_REPLAY_TEST(GraphicsFuzzCorpus, {"metafile", &fuzzbody::Metafile},
                         {"bitmap", &fuzzbody::BitmapIconCursor}, {"jpeg", &fuzzbody::Jpeg})
