#include "runtime/signals.h"

#include <atomic>
#include <csignal>
#include <unistd.h>

namespace {

constexpr int kStopSignals[] = {SIGINT, SIGTERM, SIGHUP};

// Set by the handler, which may run on any thread (the sound library's
// among them), and read by the frame loop: an atomic that needs no lock, so
// that it is safe both in a handler and across threads.
std::atomic<int> noted{0};
static_assert(std::atomic<int>::is_always_lock_free);

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

int stopSignal() { return noted.load(); }

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
