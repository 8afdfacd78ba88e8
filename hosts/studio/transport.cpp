#include "transport.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "timeline/chain.h"
#include "timeline/shared_with_glsl.h"

namespace {

constexpr std::array<double, 5> kSpeeds = {0.25, 0.5, 1.0, 2.0, 4.0};
constexpr int kNormalSpeed = 2;

}  // namespace

Transport::Transport(std::function<double()> wall) : wall_(std::move(wall)), speedIndex_(kNormalSpeed) {
    anchorWall_ = wall_();
}

double Transport::position() const {
    if (paused_) return anchorShow_;
    return anchorShow_ + (wall_() - anchorWall_) * speed();
}

double Transport::now() { return std::min(position(), double(kShowEnd)); }

void Transport::seek(double t) {
    anchorShow_ = std::clamp(t, 0.0, double(kShowEnd));
    anchorWall_ = wall_();
    ++timingChanges_;
}

void Transport::setPaused(bool paused) {
    if (paused == paused_) return;
    anchorShow_ = now();
    anchorWall_ = wall_();
    paused_ = paused;
    ++timingChanges_;
}

void Transport::stepSpeed(int step) {
    anchorShow_ = now();
    anchorWall_ = wall_();
    speedIndex_ = std::clamp(speedIndex_ + step, 0, int(kSpeeds.size()) - 1);
    ++timingChanges_;
}

double Transport::speed() const { return kSpeeds[static_cast<std::size_t>(speedIndex_)]; }

void Transport::setLoop(std::optional<Stretch> loop) { loop_ = loop; }

bool Transport::advance() {
    const double t = position();
    if (loop_ && (t >= loop_->to || t < loop_->from)) {
        seek(loop_->from);
        return true;
    }
    // The end: the last frame stays, paused, until the next seek.
    if (t >= kShowEnd && !paused_) {
        anchorShow_ = kShowEnd;
        anchorWall_ = wall_();
        paused_ = true;
        ++timingChanges_;
    }
    return false;
}

double previousBoundary(double t) {
    const std::vector<float>& bounds = chainBounds();
    auto it = std::lower_bound(bounds.begin(), bounds.end(), t);  // first >= t
    return it == bounds.begin() ? bounds.front() : *std::prev(it);
}

double nextBoundary(double t) {
    const std::vector<float>& bounds = chainBounds();
    auto it = std::upper_bound(bounds.begin(), bounds.end(), t);  // first > t
    return it == bounds.end() ? bounds.back() : *it;
}

Stretch stretchAround(double t) {
    const std::vector<float>& bounds = chainBounds();
    auto it = std::upper_bound(bounds.begin(), bounds.end(), t);
    if (it == bounds.end()) return {*std::prev(bounds.end(), 2), bounds.back()};
    return {it == bounds.begin() ? 0.0 : *std::prev(it), *it};
}
