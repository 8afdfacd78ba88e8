#include "runtime/sdl_sound_engine.h"

SdlSoundEngine showSoundEngine;
