#pragma once
// The studio's transport: where the show is, whether it runs, how fast, and
// what stretch it loops. Its clock is the show clock of the studio's frames,
// so the cube waves' second readings move on with it, as in the show.
#include <functional>
#include <optional>

#include "timeline/clock_and_sound.h"

struct Stretch {
    double from;
    double to;
};

class Transport : public Clock {
public:
    // `wall` reads seconds of real time. Starts at 0 s, playing at 1x.
    explicit Transport(std::function<double()> wall);

    double now() override;  // the show time now, at most the show's end
    // Moves to t (clamped to 0 .. the show's end).
    void seek(double t);
    void setPaused(bool paused);
    bool paused() const { return paused_; }
    // One of 0.25, 0.5, 1, 2, 4; `step` moves up or down the list.
    void stepSpeed(int step);
    double speed() const;
    // Loops between the two times from now on; none clears it.
    void setLoop(std::optional<Stretch> loop);
    const std::optional<Stretch>& loop() const { return loop_; }
    // Called once at the top of each frame: wraps a loop, stops at the end.
    // Returns true when time jumped (a loop wrapped).
    bool advance();
    // How many times the time jumped or its pace changed (seek, pause, speed,
    // a loop's wrap, the stop at the end): the sound follows each change.
    unsigned timingChanges() const { return timingChanges_; }

private:
    double position() const;
    std::function<double()> wall_;
    double anchorShow_ = 0.0;  // show time at anchorWall_
    double anchorWall_ = 0.0;
    bool paused_ = false;
    int speedIndex_;
    std::optional<Stretch> loop_;
    unsigned timingChanges_ = 0;
};

// The boundaries are the chain's (chainBounds in timeline/chain.h): every
// finite bound of its windows inside the show, with 0 and the show's end.
// The boundary before t (strictly, unless t is 0) and the one after t.
double previousBoundary(double t);
double nextBoundary(double t);
// The stretch between the two boundaries around t.
Stretch stretchAround(double t);
