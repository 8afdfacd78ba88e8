#include "runtime/signals.h"

#include <csignal>
#include <unistd.h>

namespace {

constexpr int kStopSignals[] = {SIGINT, SIGTERM, SIGHUP};

volatile std::sig_atomic_t noted = 0;

void noteStopSignal(int sig) {
    if (noted != 0) {
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

int stopSignal() { return noted; }

void endByStopSignal() {
    const int sig = noted;
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
