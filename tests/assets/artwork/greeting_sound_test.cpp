// The greeting jingle is a plain PCM WAV the sound player accepts, and it
// starts and stops without a click.
#include <velkaro/assets.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>

using namespace velkaro::assets;

namespace {

std::uint32_t le32(const unsigned char* p)
{
    return std::uint32_t(p[0]) | std::uint32_t(p[1]) << 8 | std::uint32_t(p[2]) << 16 | std::uint32_t(p[3]) << 24;
}

unsigned le16(const unsigned char* p)
{
    return unsigned(p[0]) | unsigned(p[1]) << 8;
}

std::int16_t sampleAt(const unsigned char* data, size_t i)
{
    return std::int16_t(le16(data + 44 + i * 2));
}

}  // namespace

TEST(GreetingSound, HasTheStandardHeader)
{
    Blob wav = greetingSoundFile();
    ASSERT_EQ(wav.size, 73964u);
    const unsigned char* p = wav.data;
    struct Field {
        const char* what;
        std::uint32_t actual;
        std::uint32_t expected;
    };
    ASSERT_EQ(std::memcmp(p, "RIFF", 4), 0);
    ASSERT_EQ(std::memcmp(p + 8, "WAVE", 4), 0);
    ASSERT_EQ(std::memcmp(p + 12, "fmt ", 4), 0);
    ASSERT_EQ(std::memcmp(p + 36, "data", 4), 0);
    const Field fields[] = {
        {"RIFF size", le32(p + 4), 73956},
        {"fmt size", le32(p + 16), 16},
        {"format (PCM)", le16(p + 20), 1},
        {"channels", le16(p + 22), 1},
        {"sample rate", le32(p + 24), 16000},
        {"byte rate", le32(p + 28), 32000},
        {"block align", le16(p + 32), 2},
        {"bits per sample", le16(p + 34), 16},
        {"data size", le32(p + 40), 73920},
    };
    for (const Field& f : fields)
        EXPECT_EQ(f.actual, f.expected) << f.what;
}

TEST(GreetingSound, StartsAndEndsSilentlyAndIsAudible)
{
    Blob wav = greetingSoundFile();
    ASSERT_EQ(wav.size, 73964u);
    const size_t count = 36960;
    EXPECT_EQ(sampleAt(wav.data, 0), 0);
    EXPECT_EQ(sampleAt(wav.data, count - 1), 0);
    // No jump at either end: the first and last 2 ms move gently.
    int steepest = 0;
    for (size_t i = 0; i + 1 < 32; ++i) {
        steepest = std::max(steepest, std::abs(sampleAt(wav.data, i + 1) - sampleAt(wav.data, i)));
        steepest = std::max(steepest, std::abs(sampleAt(wav.data, count - 1 - i) - sampleAt(wav.data, count - 2 - i)));
    }
    EXPECT_LT(steepest, 3000);
    int peak = 0;
    for (size_t i = 0; i < count; ++i)
        peak = std::max(peak, std::abs(int(sampleAt(wav.data, i))));
    EXPECT_GT(peak, 10000);
    EXPECT_LT(peak, 32767);  // no clipping
}
