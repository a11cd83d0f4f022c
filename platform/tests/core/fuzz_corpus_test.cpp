#include "core_fuzz_targets.h"
#include "fuzz_replay.h"

PHONARK_FUZZ_REPLAY_TEST(CoreFuzzCorpus, {"object_text", &fuzzbody::ObjectText},
                         {"number_text", &fuzzbody::NumberText}, {"settings", &fuzzbody::Settings})
