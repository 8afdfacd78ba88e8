#include "frame_stream.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <vector>

#include <sys/uio.h>
#include <unistd.h>

#include "offscreen_show.h"
#include "render/gl.h"
#include "yuv420.h"

namespace {

constexpr int kWidth = OffscreenShow::kWidth;
constexpr int kHeight = OffscreenShow::kHeight;
constexpr std::size_t kRowBytes = static_cast<std::size_t>(kWidth) * 4;
constexpr std::size_t kFrameBytes = kRowBytes * kHeight;

double secondsSince(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// Writes every byte of `rows`, going on after partial writes and interrupts.
bool writeAll(int fd, std::vector<iovec>& rows) {
    std::size_t first = 0;
    while (first < rows.size()) {
        const int count = static_cast<int>(std::min<std::size_t>(rows.size() - first, IOV_MAX));
        ssize_t written = writev(fd, &rows[first], count);
        if (written < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        auto left = static_cast<std::size_t>(written);
        while (first < rows.size() && left >= rows[first].iov_len) left -= rows[first++].iov_len;
        if (left > 0) {
            rows[first].iov_base = static_cast<char*>(rows[first].iov_base) + left;
            rows[first].iov_len -= left;
        }
    }
    return true;
}

}  // namespace

FrameStream::FrameStream(int fd) : fd_(fd) {
    glGenBuffers(2, buffers_);
    for (unsigned int buffer : buffers_) {
        glBindBuffer(GL_PIXEL_PACK_BUFFER, buffer);
        glBufferData(GL_PIXEL_PACK_BUFFER, static_cast<GLsizeiptr>(kFrameBytes), nullptr, GL_STREAM_READ);
    }
    glBindBuffer(GL_PIXEL_PACK_BUFFER, 0);
    writer_ = std::thread([this] { writerLoop(); });
}

FrameStream::~FrameStream() {
    {
        std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    changed_.notify_all();
    // The writer may still read a mapped buffer: it goes first.
    writer_.join();
    unmapAll();
    glExtras().glDeleteBuffers(2, buffers_);
}

// Only while the writer holds no buffer.
void FrameStream::unmapAll() {
    for (int slot = 0; slot < 2; ++slot) {
        if (mapped_[slot] == nullptr) continue;
        glBindBuffer(GL_PIXEL_PACK_BUFFER, buffers_[slot]);
        glExtras().glUnmapBuffer(GL_PIXEL_PACK_BUFFER);
        mapped_[slot] = nullptr;
    }
    glBindBuffer(GL_PIXEL_PACK_BUFFER, 0);
}

double FrameStream::writeSeconds() const {
    std::lock_guard lock(mutex_);
    return written_;
}

bool FrameStream::waitForWriter() {
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [this] { return !busy_; });
    return !failed_;
}

// Maps the slot's buffer (its read-back is complete by now) and gives it to the writer.
void FrameStream::handToWriter(int slot) {
    glBindBuffer(GL_PIXEL_PACK_BUFFER, buffers_[slot]);
    mapped_[slot] = static_cast<const std::uint8_t*>(
        glExtras().glMapBufferRange(GL_PIXEL_PACK_BUFFER, 0, static_cast<GLsizeiptr>(kFrameBytes), GL_MAP_READ_BIT));
    {
        std::lock_guard lock(mutex_);
        job_ = mapped_[slot];
        busy_ = true;
    }
    changed_.notify_all();
}

bool FrameStream::push() {
    const int slot = static_cast<int>(frames_ % 2);
    // The writer may still be sending the frame before last from this slot.
    if (!waitForWriter()) return false;
    const auto start = std::chrono::steady_clock::now();
    glBindBuffer(GL_PIXEL_PACK_BUFFER, buffers_[slot]);
    if (mapped_[slot] != nullptr) {
        glExtras().glUnmapBuffer(GL_PIXEL_PACK_BUFFER);
        mapped_[slot] = nullptr;
    }
    glExtras().glReadPixels(0, 0, kWidth, kHeight, GL_RGBA, GL_UNSIGNED_BYTE, nullptr);
    if (frames_ > 0) handToWriter(1 - slot);
    glBindBuffer(GL_PIXEL_PACK_BUFFER, 0);
    readBack_ += secondsSince(start);
    ++frames_;
    return true;
}

bool FrameStream::finish() {
    bool ok = waitForWriter();
    if (ok && frames_ > 0) {
        handToWriter(static_cast<int>((frames_ - 1) % 2));
        ok = waitForWriter();
    }
    unmapAll();
    return ok;
}

void FrameStream::writerLoop() {
    std::vector<std::uint8_t> converted(yuv420Bytes(kWidth, kHeight));
    std::vector<iovec> whole{{converted.data(), converted.size()}};
    for (;;) {
        const std::uint8_t* pixels = nullptr;
        {
            std::unique_lock lock(mutex_);
            changed_.wait(lock, [this] { return stopping_ || job_ != nullptr; });
            if (job_ == nullptr) return;
            pixels = job_;
        }
        const auto start = std::chrono::steady_clock::now();
        rgbaToYuv420(pixels, kWidth, kHeight, converted.data());
        whole[0] = {converted.data(), converted.size()};
        const bool ok = writeAll(fd_, whole);
        {
            std::lock_guard lock(mutex_);
            written_ += secondsSince(start);
            failed_ = failed_ || !ok;
            job_ = nullptr;
            busy_ = false;
        }
        changed_.notify_all();
    }
}
