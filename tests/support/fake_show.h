#pragma once
#include "timeline/resources.h"

// Every resource of the show built once, as start-up builds it, against the
// fake GL and from the data files of the working directory (the run
// directory). Its names stay valid after later fakegl::install() calls.
const Resources& showBuiltOnFakeGl();
