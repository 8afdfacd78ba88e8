#pragma once
// WAV writers: the tracks as 16-bit PCM (what the show plays), and analysis
// output (stems, gain traces) as 32-bit float, which keeps what lies above
// full scale.
#include <filesystem>
#include <vector>

#include "voices.h"

namespace synth {

bool writeWav16(const std::filesystem::path& path, const Bus& bus);
bool writeWavFloat(const std::filesystem::path& path, const std::vector<const std::vector<float>*>& channels);

}  // namespace synth
