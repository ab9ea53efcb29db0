// winmm's PlaySoundA and sndPlaySoundA: find the wave image (in memory or in
// a file), check it, record it for the testing API and hand a copy to the
// player; and the multimedia timer clock.
#include "core/last_error.h"
#include "core/modules.h"
#include "kernel/paths.h"
#include "sound/wave_file.h"
#include "sound/wave_player.h"
#include "testing/records.h"

#include <windows.h>

#include <cstdio>
#include <vector>

namespace {


// The whole file, or nothing when it cannot be read; never more than a wave
// image may hold, plus a little so an oversized RIFF size is still seen.
bool readSoundFile(const char* name, std::vector<unsigned char>& out)
{
    std::string host = vk::kernel::toHostPath(name);
    if (host.empty())
        return false;
    FILE* f = std::fopen(host.c_str(), "rb");
    if (!f)
        return false;
    unsigned char buf[65536];
    size_t n;
    while ((n = std::fread(buf, 1, sizeof buf, f)) > 0) {
        out.insert(out.end(), buf, buf + n);
        if (out.size() > vk::sound::kMaxWaveBytes)
            break;
    }
    std::fclose(f);
    return true;
}

} // namespace

extern "C" {

BOOL WINAPI PlaySoundA(LPCSTR sound, HMODULE, DWORD flags)
{
    if (!sound || (flags & SND_PURGE)) {
        vk::sound::stopSound();
        return TRUE;
    }
    // SND_RESOURCE contains the SND_MEMORY bit, so it is told apart first.
    if ((flags & SND_RESOURCE) == SND_RESOURCE)
        return vk::failWith(ERROR_RESOURCE_TYPE_NOT_FOUND, FALSE);
    if ((flags & SND_ALIAS) && !(flags & SND_FILENAME))
        return vk::failWith(ERROR_FILE_NOT_FOUND, FALSE); // no system sounds are configured

    std::vector<unsigned char> image;
    if (flags & SND_MEMORY) {
        const auto* bytes = reinterpret_cast<const unsigned char*>(sound);
        // The caller vouches for the memory; its RIFF header says how much there is.
        size_t size = vk::sound::riffImageSize(bytes, 12);
        if (!size)
            return vk::failWith(ERROR_INVALID_DATA, FALSE);
        image.assign(bytes, bytes + size);
    } else if (!readSoundFile(sound, image)) {
        return vk::failWith(ERROR_FILE_NOT_FOUND, FALSE);
    }

    vk::sound::WaveInfo info;
    if (!vk::sound::parseWave(image.data(), image.size(), info))
        return vk::failWith(ERROR_INVALID_DATA, FALSE);
    vk::records::recordSound(image.data(), image.size(), flags);
    if (!vk::sound::playWave(std::move(image), info, flags & SND_ASYNC, flags & SND_LOOP, flags & SND_NOSTOP))
        return vk::failWith(ERROR_BUSY, FALSE);  // SND_NOSTOP met a sound still playing
    return TRUE;
}

BOOL WINAPI sndPlaySoundA(LPCSTR sound, UINT flags)
{
    return PlaySoundA(sound, nullptr, flags);
}

DWORD WINAPI timeGetTime(void) { return GetTickCount(); }

MMRESULT WINAPI timeBeginPeriod(UINT period) { return period ? TIMERR_NOERROR : TIMERR_NOCANDO; }

MMRESULT WINAPI timeEndPeriod(UINT period) { return period ? TIMERR_NOERROR : TIMERR_NOCANDO; }

} // extern "C"

namespace {
struct WinmmSetup {
    WinmmSetup()
    {
        static const vk::ModuleExport exports[] = {
            {"PlaySoundA", vk::exportProc(&PlaySoundA)},
            {"PlaySound", vk::exportProc(&PlaySoundA)},
            {"sndPlaySoundA", vk::exportProc(&sndPlaySoundA)},
            {"timeGetTime", vk::exportProc(&timeGetTime)},
            {"timeBeginPeriod", vk::exportProc(&timeBeginPeriod)},
            {"timeEndPeriod", vk::exportProc(&timeEndPeriod)},
        };
        vk::registerModuleExports("winmm.dll", exports, sizeof exports / sizeof exports[0]);
    }
} g_winmmSetup;
} // namespace
