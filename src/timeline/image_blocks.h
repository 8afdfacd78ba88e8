#pragma once
#include "timeline/frame.h"

// The image overlay (at most one of the eight images over captions and
// scenes) and the end card (the "maybe" image once more after 290 s).
void imageOverlay(Frame& frame);
void endCard(Frame& frame);
