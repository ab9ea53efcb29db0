// PlaySoundA and sndPlaySoundA: valid waves recorded with their flags,
// malformed ones refused without reading past them, asynchronous sounds
// that outlive the caller's buffer, and the ALSA path through the "null"
// device so the worker thread really runs.
#include "fixture.h"

#include "sound/wave_player.h"

#include <mmsystem.h>

#include <cstdio>
#include <cstring>
#include <memory>
#include <vector>

using namespace dlgtest;
namespace vt = velkaro::testing;

namespace {

void put32(std::vector<unsigned char>& v, uint32_t x)
{
    for (int i = 0; i < 4; ++i)
        v.push_back(static_cast<unsigned char>(x >> (8 * i)));
}
void put16(std::vector<unsigned char>& v, uint16_t x)
{
    v.push_back(static_cast<unsigned char>(x));
    v.push_back(static_cast<unsigned char>(x >> 8));
}
void set32(std::vector<unsigned char>& v, size_t at, uint32_t x)
{
    for (int i = 0; i < 4; ++i)
        v[at + size_t(i)] = static_cast<unsigned char>(x >> (8 * i));
}

// A PCM wave: 12-byte RIFF header, a 16-byte "fmt " chunk at 12, the data
// chunk header at 36 and its samples from 44.
std::vector<unsigned char> wave(uint16_t channels = 1, uint16_t bits = 16, uint32_t rate = 8000, uint32_t frames = 400)
{
    std::vector<unsigned char> v;
    uint32_t block = channels * bits / 8, data = frames * block;
    v.insert(v.end(), {'R', 'I', 'F', 'F'});
    put32(v, 36 + data);
    v.insert(v.end(), {'W', 'A', 'V', 'E', 'f', 'm', 't', ' '});
    put32(v, 16);
    put16(v, WAVE_FORMAT_PCM);
    put16(v, channels);
    put32(v, rate);
    put32(v, rate * block);
    put16(v, uint16_t(block));
    put16(v, bits);
    v.insert(v.end(), {'d', 'a', 't', 'a'});
    put32(v, data);
    for (uint32_t i = 0; i < data; ++i)
        v.push_back(static_cast<unsigned char>(i * 7));
    return v;
}

class SoundTest : public DialogTest {
protected:
    void TearDown() override
    {
        PlaySoundA(nullptr, nullptr, 0);
        vk::sound::setOutputDeviceForTesting(nullptr);
        DialogTest::TearDown();
    }
    // The image in a heap block of exactly its size, so a read past it is caught.
    static std::unique_ptr<unsigned char[]> exact(const std::vector<unsigned char>& v)
    {
        auto p = std::make_unique<unsigned char[]>(v.size());
        std::memcpy(p.get(), v.data(), v.size());
        return p;
    }
};

TEST_F(SoundTest, ValidWavesPlayAndAreRecordedWithTheirFlags)
{
    const struct {
        uint16_t channels, bits;
        uint32_t rate;
    } formats[] = {{1, 8, 11025}, {2, 8, 22050}, {1, 16, 44100}, {2, 16, 48000}, {1, 16, 1}};
    for (auto& f : formats) {
        std::vector<unsigned char> w = wave(f.channels, f.bits, f.rate, 64);
        vt::clearRecords();
        EXPECT_TRUE(PlaySoundA(reinterpret_cast<LPCSTR>(w.data()), nullptr, SND_MEMORY | SND_NODEFAULT))
            << f.channels << "x" << f.bits << "@" << f.rate;
        auto played = vt::soundsPlayed();
        ASSERT_EQ(played.size(), 1u);
        EXPECT_EQ(played[0].bytes, w);
        EXPECT_EQ(played[0].flags, DWORD(SND_MEMORY | SND_NODEFAULT));
    }

    // From a file, by either function, and with chunks the player skips.
    std::vector<unsigned char> w = wave();
    std::vector<unsigned char> extra(w.begin(), w.begin() + 36);
    extra.insert(extra.end(), {'L', 'I', 'S', 'T'});
    put32(extra, 3);
    extra.insert(extra.end(), {1, 2, 3, 0}); // odd chunk: one pad byte
    extra.insert(extra.end(), w.begin() + 36, w.end());
    set32(extra, 4, uint32_t(extra.size() - 8));
    std::string path = outputPath("sound_test.wav");
    FILE* f = std::fopen(path.c_str(), "wb");
    ASSERT_NE(f, nullptr);
    std::fwrite(extra.data(), 1, extra.size(), f);
    std::fclose(f);
    vt::clearRecords();
    EXPECT_TRUE(PlaySoundA(path.c_str(), nullptr, SND_FILENAME | SND_ASYNC));
    EXPECT_TRUE(sndPlaySoundA(path.c_str(), SND_ASYNC | SND_NODEFAULT));
    auto played = vt::soundsPlayed();
    ASSERT_EQ(played.size(), 2u);
    EXPECT_EQ(played[0].bytes, extra);
    EXPECT_EQ(played[0].flags, DWORD(SND_FILENAME | SND_ASYNC));
    EXPECT_EQ(played[1].flags, DWORD(SND_ASYNC | SND_NODEFAULT));

    EXPECT_FALSE(PlaySoundA((path + ".missing").c_str(), nullptr, SND_FILENAME | SND_NODEFAULT));
    EXPECT_FALSE(PlaySoundA("SystemAsterisk", nullptr, SND_ALIAS | SND_NODEFAULT));
    EXPECT_TRUE(PlaySoundA(nullptr, nullptr, SND_PURGE));
    EXPECT_EQ(vt::soundsPlayed().size(), 2u);
}

TEST_F(SoundTest, MalformedWavesAreRefusedWithoutReadingPastThem)
{
    struct Case {
        const char* what;
        std::function<void(std::vector<unsigned char>&)> spoil;
    } cases[] = {
        {"wrong RIFF magic", [](auto& v) { v[0] = 'X'; }},
        {"wrong WAVE magic", [](auto& v) { v[8] = 'A'; }},
        {"zero channels", [](auto& v) { v[22] = 0; }},
        {"three channels", [](auto& v) { v[22] = 3; }},
        {"24-bit samples", [](auto& v) { v[34] = 24; }},
        {"zero rate", [](auto& v) { set32(v, 24, 0); }},
        {"not PCM", [](auto& v) { v[20] = 3; }},
        {"short format chunk", [](auto& v) { set32(v, 16, 8); }},
        {"huge format chunk", [](auto& v) { set32(v, 16, 0xFFFFFFF0u); }},
        {"huge data chunk", [](auto& v) { set32(v, 40, 0x7FFFFFFFu); }},
        {"data past the RIFF size", [](auto& v) { set32(v, 4, 40); }},
        {"no data chunk", [](auto& v) { v[36] = 'x'; }},
        {"huge RIFF size", [](auto& v) { set32(v, 4, 0xFFFFFFF0u); }},
        {"header only", [](auto& v) { v.resize(12); set32(v, 4, 4); }},
    };
    for (const Case& c : cases) {
        std::vector<unsigned char> w = wave();
        c.spoil(w);
        // A memory image is trusted for the size it declares; these spoil
        // everything but that, or declare more than any sound may have.
        uint32_t declared = uint32_t(w[4] | w[5] << 8 | w[6] << 16 | uint32_t(w[7]) << 24) + 8;
        ASSERT_TRUE(declared <= w.size() || declared > (64u << 20)) << c.what;
        auto block = exact(w);
        vt::clearRecords();
        EXPECT_FALSE(PlaySoundA(reinterpret_cast<LPCSTR>(block.get()), nullptr, SND_MEMORY | SND_NODEFAULT)) << c.what;
        EXPECT_TRUE(vt::soundsPlayed().empty()) << c.what;
    }

    // A file cut short of what its header promises.
    std::vector<unsigned char> w = wave();
    w.resize(w.size() / 2);
    std::string path = outputPath("truncated.wav");
    FILE* f = std::fopen(path.c_str(), "wb");
    ASSERT_NE(f, nullptr);
    std::fwrite(w.data(), 1, w.size(), f);
    std::fclose(f);
    EXPECT_FALSE(PlaySoundA(path.c_str(), nullptr, SND_FILENAME | SND_NODEFAULT));
}

TEST_F(SoundTest, AsyncSoundsThroughTheDeviceOutliveTheCallersBuffer)
{
    vk::sound::setOutputDeviceForTesting("null");
    for (int i = 0; i < 3; ++i) {
        auto block = exact(wave(2, 16, 44100, 4410));
        EXPECT_TRUE(PlaySoundA(reinterpret_cast<LPCSTR>(block.get()), nullptr, SND_MEMORY | SND_ASYNC));
        // The caller frees its copy at once; the next play stops and joins the last.
        std::memset(block.get(), 0xCD, 44);
    }
    // A looping sound runs until stopped; SND_NOSTOP does not interrupt it.
    auto loop = wave(1, 8, 8000, 800);
    ASSERT_TRUE(PlaySoundA(reinterpret_cast<LPCSTR>(loop.data()), nullptr, SND_MEMORY | SND_ASYNC | SND_LOOP));
    EXPECT_TRUE(vk::sound::soundPlaying());
    auto other = wave();
    EXPECT_FALSE(PlaySoundA(reinterpret_cast<LPCSTR>(other.data()), nullptr, SND_MEMORY | SND_ASYNC | SND_NOSTOP));
    EXPECT_TRUE(PlaySoundA(nullptr, nullptr, 0));
    EXPECT_FALSE(vk::sound::soundPlaying());
    // Synchronous play returns when the sound is done.
    EXPECT_TRUE(PlaySoundA(reinterpret_cast<LPCSTR>(other.data()), nullptr, SND_MEMORY | SND_SYNC));
    EXPECT_FALSE(vk::sound::soundPlaying());
}

TEST_F(SoundTest, WinmmExportsAndClock)
{
    HMODULE winmm = LoadLibraryA("winmm.dll");
    ASSERT_NE(winmm, nullptr);
    for (const char* name : {"PlaySoundA", "sndPlaySoundA", "timeGetTime"})
        EXPECT_NE(GetProcAddress(winmm, name), nullptr) << name;
    DWORD t0 = timeGetTime();
    vt::advanceClock(250);
    EXPECT_EQ(timeGetTime() - t0, 250u);
    EXPECT_EQ(timeBeginPeriod(1), MMRESULT(TIMERR_NOERROR));
    EXPECT_EQ(timeEndPeriod(1), MMRESULT(TIMERR_NOERROR));
}

} // namespace
