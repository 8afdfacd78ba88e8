#pragma once
#include "score.h"

namespace synth {

// The opening and closing piece: 40 bars that loop, heard once in the
// opening; its first 38 s end on a cadence, which closes the show.
Song tune1();
// The long middle piece: intro, motif, two drops, a groove, a breakdown, the
// climax where the hook returns, and an ending.
Song newtune();

}  // namespace synth
