#include "fuzz_replay.h"
#include "gif_fuzz_targets.h"

PHONARK_FUZZ_REPLAY_TEST(GifFuzzCorpus, {"gif_load", &giffuzz::LoadAndResave}, {"gif_lzw", &giffuzz::DecodeOnly},
                         {"gif_roundtrip", &giffuzz::EncodeThenDecode})
