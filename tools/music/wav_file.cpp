#include "wav_file.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <fstream>

#include "dsp.h"

namespace synth {

namespace {

void put16(std::ofstream& out, uint16_t v) { out.put(static_cast<char>(v & 0xff)).put(static_cast<char>(v >> 8)); }
void put32(std::ofstream& out, uint32_t v) { put16(out, v & 0xffff); put16(out, v >> 16); }

// The canonical 44-byte header.
void header(std::ofstream& out, int format, int channels, int bits, std::size_t frames) {
    const uint32_t block = static_cast<uint32_t>(channels * bits / 8);
    const uint32_t dataBytes = static_cast<uint32_t>(frames * block);
    out.write("RIFF", 4);
    put32(out, 36 + dataBytes);
    out.write("WAVEfmt ", 8);
    put32(out, 16);
    put16(out, static_cast<uint16_t>(format));
    put16(out, static_cast<uint16_t>(channels));
    put32(out, kRate);
    put32(out, kRate * block);
    put16(out, static_cast<uint16_t>(block));
    put16(out, static_cast<uint16_t>(bits));
    out.write("data", 4);
    put32(out, dataBytes);
}

}  // namespace

bool writeWav16(const std::filesystem::path& path, const Bus& bus) {
    std::ofstream out(path, std::ios::binary);
    header(out, 1, 2, 16, bus.frames());
    auto pcm = [](float v) { return static_cast<uint16_t>(static_cast<int16_t>(std::lround(std::clamp(v, -1.0f, 1.0f) * 32767.0f))); };
    for (std::size_t i = 0; i < bus.frames(); ++i) {
        put16(out, pcm(bus.left[i]));
        put16(out, pcm(bus.right[i]));
    }
    return static_cast<bool>(out);
}

bool writeWavFloat(const std::filesystem::path& path, const std::vector<const std::vector<float>*>& channels) {
    std::ofstream out(path, std::ios::binary);
    const std::size_t frames = channels.front()->size();
    header(out, 3, static_cast<int>(channels.size()), 32, frames);
    for (std::size_t i = 0; i < frames; ++i)
        for (const std::vector<float>* c : channels) {
            uint32_t bits;
            std::memcpy(&bits, &(*c)[i], 4);
            put32(out, bits);
        }
    return static_cast<bool>(out);
}

}  // namespace synth
