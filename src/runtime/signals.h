#pragma once

// Ctrl-C, kill and a closed terminal (SIGINT, SIGTERM, SIGHUP) end the show
// the way Escape does: the frame loop stops at the next frame boundary and
// GLFW is terminated, which gives the monitor its video mode back. Then the
// process ends by the same signal, so shells and supervisors see the usual
// status (130, 143, 129).
// On Windows the console's events stand for the signals: Ctrl+C, Ctrl+Break
// and a closed console window stop the show the same way, and the process
// ends with the status of a program Ctrl+C ended (0xC000013A).

// Installs the handlers. Each only notes its signal. A signal that was ignored
// when the show started (a background job, nohup) stays ignored. A second
// signal, while the first is being acted on, ends the process at once.
void catchStopSignals();

// The signal that asked the show to stop, or 0 when none came.
int stopSignal();

// When a stop signal came: ends the process by that signal's default action.
// Call after glfwTerminate. Returns only when no signal came.
void endByStopSignal();
