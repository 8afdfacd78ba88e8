// How ffmpeg ended decides whether the partial video becomes the output.
#include <gtest/gtest.h>

#include <csignal>

#include <unistd.h>

#include "encoder.h"

// A parent that ignores SIGCHLD (Linux keeps that across exec) has its
// children reaped for it: their status is gone, and nothing may count that
// as success.
TEST(Encoder, StatusLostToAnIgnoredSigchldIsAFailure) {
    struct sigaction ignore {}, previous {};
    ignore.sa_handler = SIG_IGN;
    sigaction(SIGCHLD, &ignore, &previous);
    Encoder encoder;
    encoder.pid = fork();
    if (encoder.pid == 0) _exit(3);
    std::string error;
    const bool finished = finishEncoder(encoder, error);
    sigaction(SIGCHLD, &previous, nullptr);
    EXPECT_FALSE(finished);
    EXPECT_NE(error.find("ffmpeg"), std::string::npos) << error;
    EXPECT_EQ(encoder.pid, -1);
}
