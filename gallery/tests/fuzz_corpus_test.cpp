#include "fuzz_replay.h"
#include "gallery_fuzz_targets.h"

PHONARK_FUZZ_REPLAY_TEST(GalleryFuzzCorpus, {"chart_stream", &fuzzbody::ChartStream},
                         {"number_format", &fuzzbody::NumberFormat})
