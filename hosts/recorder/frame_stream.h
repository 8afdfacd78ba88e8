#pragma once
// Frames from the offscreen framebuffer to ffmpeg's pipe, overlapped: each
// frame is read back into one of two pixel buffer objects, and a writer
// thread converts the previous one to YUV 4:2:0 and sends it down the pipe,
// top row first, while the next frame renders. Memory stays at two frames, whatever the length.
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <thread>

class FrameStream {
public:
    // Writes to `fd` (not owned). Needs the offscreen show's context current.
    explicit FrameStream(int fd);
    // Waits for the write in progress, if any (whether or not finish() ran:
    // close or kill the reader first to cut it short), then frees the buffers.
    ~FrameStream();
    FrameStream(const FrameStream&) = delete;
    FrameStream& operator=(const FrameStream&) = delete;

    // Takes the frame just drawn (draw it and wait for it first). Returns
    // false once a write has failed (ffmpeg gone).
    bool push();
    // Sends the last frame and waits until every frame is written.
    bool finish();

    double readBackSeconds() const { return readBack_; }  // read-back and mapping, GL thread
    double writeSeconds() const;                           // writer thread inside write calls

private:
    bool waitForWriter();
    void handToWriter(int slot);
    void unmapAll();
    void writerLoop();

    unsigned int buffers_[2] = {};
    const std::uint8_t* mapped_[2] = {};
    int fd_;
    long frames_ = 0;

    mutable std::mutex mutex_;
    std::condition_variable changed_;
    const std::uint8_t* job_ = nullptr;
    bool busy_ = false, failed_ = false, stopping_ = false;
    std::thread writer_;

    double readBack_ = 0.0, written_ = 0.0;
};
