// Placeholder until the caption blocks land.
#include "timeline/caption_blocks.h"

void openingTitle(Frame& frame) { musicCueStart(frame.sound, frame.musicCueFlag); }
void creditsCard(Frame&) {}
void phraseCaption(Frame&) {}
void greetingsTitle(Frame&) {}
void greetingsGravelmist(Frame&) {}
void greetingsBrambl(Frame& frame) { musicCueSwitch(frame.sound, frame.musicCueFlag, frame.t); }
void greetingsTimbre(Frame&) {}
void greetingsSprig(Frame&) {}
void greetings8463(Frame&) {}
void greetingsGlimmertak(Frame&) {}
void greetingsVeska(Frame&) {}
void closingGreetings(Frame&) {}
