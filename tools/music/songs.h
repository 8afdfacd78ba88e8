#pragma once
#include "score.h"

namespace synth {

// The opening and closing theme: 16 bars that loop.
Song tune1();
// The long middle piece: intro, build, two drops, a groove, a breakdown, the
// return of the theme and an ending.
Song newtune();

}  // namespace synth
