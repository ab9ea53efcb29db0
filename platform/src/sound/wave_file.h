// Reading a RIFF wave image: the PCM format and where its samples are. Every
// size in the header is checked against the bytes really there, so a
// corrupt or hostile file is refused instead of read past its end.
#pragma once

#include <cstddef>
#include <cstdint>

namespace vk::sound {

// Larger images are refused: a sound for a user interface never needs more,
// and a header claiming more is most likely corrupt.
constexpr size_t kMaxWaveBytes = size_t(64) << 20;

struct WaveInfo {
    unsigned channels = 0;      // 1 or 2
    unsigned bitsPerSample = 0; // 8 (unsigned) or 16 (signed little-endian)
    unsigned sampleRate = 0;
    unsigned blockAlign = 0;    // bytes per frame
    size_t dataOffset = 0;      // from the start of the image
    size_t dataBytes = 0;       // whole frames only
};

// The bytes a RIFF image says it spans (8 + its RIFF size), from its first
// 8 bytes; 0 when they do not start a RIFF image or it would be too large.
size_t riffImageSize(const unsigned char* head, size_t available);

// Parses an image of `size` bytes; false when it is not a playable PCM wave.
bool parseWave(const unsigned char* bytes, size_t size, WaveInfo& info);

} // namespace vk::sound
