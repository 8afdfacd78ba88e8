#pragma once
// The frame as the video stores it: 8-bit YUV 4:2:0, BT.601 studio range,
// converted here rather than by ffmpeg. ffmpeg's general converter costs the
// encoder about as much processor time per frame as the drawing does in
// some stretches; this one is a few straight loops, and the pipe then
// carries 3 bytes for every 2 pixels instead of 8.
#include <cstddef>
#include <cstdint>

// Bytes of one converted frame: the Y plane, then U and V at half size.
constexpr std::size_t yuv420Bytes(int width, int height) {
    return static_cast<std::size_t>(width) * height * 3 / 2;
}

// `rgba`: width x height pixels, rows bottom-up as GL reads them back (alpha
// ignored). `yuv`: yuv420Bytes() bytes, planar, rows top-down, as ffmpeg's
// "yuv420p" takes them. Width and height must be even. Chroma is the mean of
// each 2 x 2 block.
void rgbaToYuv420(const std::uint8_t* rgba, int width, int height, std::uint8_t* yuv);
