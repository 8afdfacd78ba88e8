#include "runtime/signals.h"

#include <atomic>

#ifdef _WIN32
#include <windows.h>
#else
#include <csignal>
#include <unistd.h>
#endif

namespace {

// Set by the handler, which may run on any thread (the sound library's
// among them, or the one Windows starts for a console event), and read by the
// frame loop: an atomic that needs no lock, so that it is safe both in a
// handler and across threads.
std::atomic<int> noted{0};
static_assert(std::atomic<int>::is_always_lock_free);

}  // namespace

int stopSignal() { return noted.load(); }

#ifdef _WIN32

namespace {

// What cmd.exe and PowerShell show for a program that Ctrl+C ended.
constexpr UINT kControlCExit = 0xC000013A;

// Runs on a thread of its own. Ctrl+C and Ctrl+Break only ask: the frame loop
// stops at the next frame. A closed console window, a log-off or a shut-down
// end the process as soon as the handler returns, so it waits here instead
// while the main thread gives the desktop back and ends the process.
BOOL WINAPI noteConsoleEvent(DWORD event) {
    if (stopSignal() != 0) return FALSE;  // asked again: the default ends the process now
    noted = static_cast<int>(event) + 1;  // CTRL_C_EVENT is 0
    if (event == CTRL_C_EVENT || event == CTRL_BREAK_EVENT) return TRUE;
    Sleep(INFINITE);
    return TRUE;
}

}  // namespace

void catchStopSignals() { SetConsoleCtrlHandler(noteConsoleEvent, TRUE); }

void endByStopSignal() {
    if (stopSignal() == 0) return;
    ExitProcess(kControlCExit);
}

#else

namespace {

constexpr int kStopSignals[] = {SIGINT, SIGTERM, SIGHUP};

void noteStopSignal(int sig) {
    if (stopSignal() != 0) {
        // The show is already stopping and someone insists: go now.
        std::signal(sig, SIG_DFL);
        std::raise(sig);
        return;
    }
    noted = sig;
}

}  // namespace

void catchStopSignals() {
    struct sigaction action {};
    action.sa_handler = noteStopSignal;
    sigemptyset(&action.sa_mask);
    // SA_RESETHAND: the same signal again meets the default action at once.
    // SA_RESTART: a system call the signal lands in just carries on.
    action.sa_flags = SA_RESETHAND | SA_RESTART;
    for (int sig : kStopSignals) {
        struct sigaction previous {};
        if (sigaction(sig, nullptr, &previous) != 0 || previous.sa_handler == SIG_IGN) continue;
        sigaction(sig, &action, nullptr);
    }
}

void endByStopSignal() {
    const int sig = stopSignal();
    if (sig == 0) return;
    std::signal(sig, SIG_DFL);
    sigset_t only;
    sigemptyset(&only);
    sigaddset(&only, sig);
    pthread_sigmask(SIG_UNBLOCK, &only, nullptr);
    std::raise(sig);
    // Not reached: the default action of every stop signal ends the process.
    _exit(128 + sig);
}

#endif
