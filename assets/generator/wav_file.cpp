// Minimal RIFF WAV writer: PCM, mono, 16 bit, the plain 44-byte header.
#include "artwork.h"

#include <cstdio>
#include <memory>

namespace vkgen {

namespace {

void put16(std::vector<unsigned char>& out, unsigned v)
{
    out.push_back(static_cast<unsigned char>(v & 0xff));
    out.push_back(static_cast<unsigned char>((v >> 8) & 0xff));
}

void put32(std::vector<unsigned char>& out, std::uint32_t v)
{
    put16(out, v & 0xffff);
    put16(out, v >> 16);
}

void putTag(std::vector<unsigned char>& out, const char* tag)
{
    out.insert(out.end(), tag, tag + 4);
}

}  // namespace

bool writeWav(const std::string& path, const std::vector<std::int16_t>& samples, int sampleRate)
{
    const std::uint32_t dataBytes = std::uint32_t(samples.size() * 2);
    std::vector<unsigned char> out;
    putTag(out, "RIFF");
    put32(out, 36 + dataBytes);
    putTag(out, "WAVE");
    putTag(out, "fmt ");
    put32(out, 16);
    put16(out, 1);                             // PCM
    put16(out, 1);                             // channels
    put32(out, std::uint32_t(sampleRate));
    put32(out, std::uint32_t(sampleRate) * 2); // bytes per second
    put16(out, 2);                             // block align
    put16(out, 16);                            // bits per sample
    putTag(out, "data");
    put32(out, dataBytes);
    for (std::int16_t s : samples)
        put16(out, std::uint16_t(s));
    std::unique_ptr<FILE, int (*)(FILE*)> file(std::fopen(path.c_str(), "wb"), &std::fclose);
    return file && std::fwrite(out.data(), 1, out.size(), file.get()) == out.size();
}

}  // namespace vkgen
