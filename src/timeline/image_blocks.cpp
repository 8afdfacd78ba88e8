// Placeholder until the image overlay lands.
#include "timeline/image_blocks.h"

void imageOverlay(Frame&) {}
void endCard(Frame&) {}
