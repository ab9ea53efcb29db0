// RIFF wave parsing: walks the chunks inside the RIFF size, takes the first
// "fmt " and "data" chunks, and accepts only what the player can send to the
// device unchanged (PCM, 8 or 16 bits, one or two channels).
#include "sound/wave_file.h"

#include <cstring>

namespace vk::sound {

namespace {

constexpr uint16_t kFormatPcm = 1;
constexpr uint16_t kFormatExtensible = 0xFFFE;
constexpr unsigned kMaxRate = 768000;

uint32_t le32(const unsigned char* p) { return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24; }
uint16_t le16(const unsigned char* p) { return uint16_t(p[0] | p[1] << 8); }

} // namespace

size_t riffImageSize(const unsigned char* head, size_t available)
{
    if (!head || available < 12 || std::memcmp(head, "RIFF", 4) != 0 || std::memcmp(head + 8, "WAVE", 4) != 0)
        return 0;
    size_t total = size_t(le32(head + 4)) + 8;
    return total > kMaxWaveBytes ? 0 : total;
}

bool parseWave(const unsigned char* bytes, size_t size, WaveInfo& info)
{
    info = WaveInfo{};
    size_t total = riffImageSize(bytes, size);
    if (!total || total > size || total < 12)
        return false;

    bool haveFormat = false, haveData = false;
    size_t pos = 12;
    while (pos + 8 <= total && !(haveFormat && haveData)) {
        const unsigned char* chunk = bytes + pos;
        size_t len = le32(chunk + 4);
        size_t body = pos + 8;
        if (len > total - body)
            return false; // runs past the image: truncated or corrupt
        if (!haveFormat && std::memcmp(chunk, "fmt ", 4) == 0) {
            if (len < 16)
                return false;
            const unsigned char* f = bytes + body;
            uint16_t tag = le16(f);
            if (tag == kFormatExtensible) {
                // The sub-format's first two bytes carry the real format tag.
                if (len < 40 || le16(f + 24) != kFormatPcm)
                    return false;
            } else if (tag != kFormatPcm) {
                return false;
            }
            info.channels = le16(f + 2);
            info.sampleRate = le32(f + 4);
            info.bitsPerSample = le16(f + 14);
            if (info.channels < 1 || info.channels > 2 || info.sampleRate < 1 || info.sampleRate > kMaxRate ||
                (info.bitsPerSample != 8 && info.bitsPerSample != 16))
                return false;
            // The header's own block size is not trusted: frames are what the device gets.
            info.blockAlign = info.channels * info.bitsPerSample / 8;
            haveFormat = true;
        } else if (!haveData && std::memcmp(chunk, "data", 4) == 0) {
            info.dataOffset = body;
            info.dataBytes = len;
            haveData = true;
        }
        // Chunks are padded to an even length.
        pos = body + len + (len & 1);
    }
    if (!haveFormat || !haveData)
        return false;
    info.dataBytes -= info.dataBytes % info.blockAlign;
    return true;
}

} // namespace vk::sound
