#pragma once
// GLFW's timer as the show clock: seconds since glfwInit (or since the last
// glfwSetTime).
#define GLFW_INCLUDE_NONE
#include <GLFW/glfw3.h>

#include "timeline/show_host.h"

class GlfwClock : public Clock {
public:
    double now() override { return glfwGetTime(); }
};
