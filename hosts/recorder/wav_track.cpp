#include "wav_track.h"

#include <algorithm>
#include <cstring>

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include "timeline/music_cues.h"

namespace {

std::uint32_t le32(const unsigned char* p) {
    return p[0] | p[1] << 8 | p[2] << 16 | static_cast<std::uint32_t>(p[3]) << 24;
}
std::uint16_t le16(const unsigned char* p) { return static_cast<std::uint16_t>(p[0] | p[1] << 8); }

}  // namespace

WavTrack::~WavTrack() {
    if (mapping_ != nullptr) munmap(mapping_, mappedBytes_);
}

bool WavTrack::open(const std::string& path, std::string& error) {
    error = "cannot read " + path;
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return false;
    struct stat info {};
    if (fstat(fd, &info) == 0 && info.st_size >= 12) {
        mappedBytes_ = static_cast<std::size_t>(info.st_size);
        mapping_ = mmap(nullptr, mappedBytes_, PROT_READ, MAP_PRIVATE, fd, 0);
        if (mapping_ == MAP_FAILED) mapping_ = nullptr;
    }
    close(fd);
    if (mapping_ == nullptr) return false;

    error = path + " is not a 16-bit PCM WAV file with one or two channels";
    const auto* bytes = static_cast<const unsigned char*>(mapping_);
    if (std::memcmp(bytes, "RIFF", 4) != 0 || std::memcmp(bytes + 8, "WAVE", 4) != 0) return false;
    bool formatOk = false;
    // Walks the chunks: "fmt " must come before "data"; others are skipped.
    for (std::size_t at = 12; at + 8 <= mappedBytes_;) {
        const std::size_t size = le32(bytes + at + 4);
        const unsigned char* body = bytes + at + 8;
        const std::size_t available = mappedBytes_ - at - 8;
        if (std::memcmp(bytes + at, "fmt ", 4) == 0 && size >= 16 && available >= 16) {
            channels_ = le16(body + 2);
            rate_ = static_cast<int>(le32(body + 4));
            formatOk = le16(body) == 1 && le16(body + 14) == 16 && (channels_ == 1 || channels_ == 2) && rate_ > 0;
        } else if (std::memcmp(bytes + at, "data", 4) == 0) {
            if (!formatOk) return false;
            samples_ = reinterpret_cast<const std::int16_t*>(body);
            frames_ = std::min(size, available) / (2 * static_cast<std::size_t>(channels_));
            if (frames_ == 0) return false;
            error.clear();
            return true;
        }
        at += 8 + size + (size & 1);
    }
    return false;
}

bool ShowTracks::open(std::string& error) {
    if (!first.open(kFirstTrack, error) || !second.open(kSecondTrack, error)) return false;
    if (first.rate() == second.rate()) return true;
    error = "the two music tracks differ in sample rate";
    return false;
}

std::vector<std::pair<std::string, const WavTrack*>> ShowTracks::byPath() const {
    return {{kFirstTrack, &first}, {kSecondTrack, &second}};
}
