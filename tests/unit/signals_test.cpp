// Stop signals: each case runs in a child process of its own (a death test),
// since the handlers and the noted signal belong to the whole process.
#include <gtest/gtest.h>

#include <csignal>
#include <cstdlib>

#include "runtime/signals.h"

namespace {

// Exits with the noted signal's number, so the parent can see it.
[[noreturn]] void exitWithNotedSignal() { std::exit(stopSignal()); }

}  // namespace

TEST(StopSignals, EachIsNotedAndThenEndsTheProcessByItself) {
    for (int sig : {SIGINT, SIGTERM, SIGHUP}) {
        EXPECT_EXIT(
            {
                catchStopSignals();
                std::raise(sig);
                if (stopSignal() != sig) std::exit(1);
                endByStopSignal();
                std::exit(2);
            },
            testing::KilledBySignal(sig), "")
            << "signal " << sig;
    }
}

TEST(StopSignals, NoneNotedMeansEndByStopSignalReturns) {
    EXPECT_EXIT(
        {
            catchStopSignals();
            endByStopSignal();
            exitWithNotedSignal();
        },
        testing::ExitedWithCode(0), "");
}

TEST(StopSignals, ASignalIgnoredAtStartStaysIgnored) {
    EXPECT_EXIT(
        {
            std::signal(SIGINT, SIG_IGN);
            catchStopSignals();
            std::raise(SIGINT);
            exitWithNotedSignal();
        },
        testing::ExitedWithCode(0), "");
}

TEST(StopSignals, ASecondSignalEndsTheProcessAtOnce) {
    // The same signal again, and another one after the first.
    EXPECT_EXIT(
        {
            catchStopSignals();
            std::raise(SIGTERM);
            std::raise(SIGTERM);
            std::exit(0);
        },
        testing::KilledBySignal(SIGTERM), "");
    EXPECT_EXIT(
        {
            catchStopSignals();
            std::raise(SIGINT);
            std::raise(SIGHUP);
            std::exit(0);
        },
        testing::KilledBySignal(SIGHUP), "");
}
