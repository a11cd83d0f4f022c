#include "canvas_fuzz_targets.h"
#include "fuzz_replay.h"

PHONARK_FUZZ_REPLAY_TEST(RichTextFuzzCorpus, {"rich_text", &fuzzbody::RichText})
