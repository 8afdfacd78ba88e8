#include "yuv420.h"

namespace {

// The usual 8-bit fixed-point BT.601 studio-range coefficients (x 256):
// Y = 16..235 and U, V = 16..240 for R, G, B = 0..255.
constexpr int kRound = 128;

std::uint8_t luma(const std::uint8_t* p) {
    return static_cast<std::uint8_t>(((66 * p[0] + 129 * p[1] + 25 * p[2] + kRound) >> 8) + 16);
}

}  // namespace

void rgbaToYuv420(const std::uint8_t* rgba, int width, int height, std::uint8_t* yuv) {
    const std::size_t rowBytes = static_cast<std::size_t>(width) * 4;
    std::uint8_t* lumaPlane = yuv;
    std::uint8_t* uPlane = yuv + static_cast<std::size_t>(width) * height;
    std::uint8_t* vPlane = uPlane + static_cast<std::size_t>(width / 2) * (height / 2);
    for (int row = 0; row < height; row += 2) {
        // Output rows run top-down; GL's rows run bottom-up.
        const std::uint8_t* top = rgba + (height - 1 - row) * rowBytes;
        const std::uint8_t* bottom = top - rowBytes;
        std::uint8_t* yTop = lumaPlane + static_cast<std::size_t>(row) * width;
        std::uint8_t* yBottom = yTop + width;
        for (int x = 0; x < width; ++x) {
            yTop[x] = luma(top + 4 * x);
            yBottom[x] = luma(bottom + 4 * x);
        }
        std::uint8_t* u = uPlane + static_cast<std::size_t>(row / 2) * (width / 2);
        std::uint8_t* v = vPlane + static_cast<std::size_t>(row / 2) * (width / 2);
        for (int x = 0; x < width / 2; ++x) {
            const std::uint8_t* a = top + 8 * x;
            const std::uint8_t* b = bottom + 8 * x;
            // Sums of the block's four pixels: the coefficients then carry a
            // factor 4 more, taken out by the wider shift.
            const int r = a[0] + a[4] + b[0] + b[4];
            const int g = a[1] + a[5] + b[1] + b[5];
            const int bl = a[2] + a[6] + b[2] + b[6];
            u[x] = static_cast<std::uint8_t>(((-38 * r - 74 * g + 112 * bl + 4 * kRound) >> 10) + 128);
            v[x] = static_cast<std::uint8_t>(((112 * r - 94 * g - 18 * bl + 4 * kRound) >> 10) + 128);
        }
    }
}
