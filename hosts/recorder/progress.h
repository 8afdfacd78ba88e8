#pragma once
// Progress on standard error: percent, frames done of the total, frames per
// second and time left. On a terminal one line redrawn in place; otherwise a
// plain line every few seconds, so logs stay readable.
#include <chrono>
#include <string>

class Progress {
public:
    explicit Progress(long total);
    void frameDone();
    // Ends the redrawn line, so that what follows starts on a fresh one.
    void close();
    double elapsedSeconds() const;

private:
    void print(bool final);

    long total_;
    long done_ = 0;
    bool terminal_;
    bool drawn_ = false;
    std::chrono::steady_clock::time_point start_, lastPrint_;
};

// "1:05:09" or "4:07" from seconds.
std::string clockText(double seconds);
