// ALSA output for PlaySoundA. Samples are written in short slices so a stop
// request is seen within one slice; a device that cannot be opened simply
// plays nothing, as a machine without a sound card does.
#include "sound/wave_player.h"

#include "backend/backend.h"

#include <alsa/asoundlib.h>

#include <algorithm>
#include <atomic>
#include <cstdarg>
#include <cstdlib>
#include <mutex>
#include <optional>
#include <thread>

namespace vk::sound {

namespace {

// ALSA reports a missing card on stderr; a program without sound is normal here.
void quietAlsa(const char*, int, const char*, int, const char*, ...) {}

class Player {
public:
    ~Player()
    {
        stop();
        std::lock_guard<std::mutex> g(m_mutex);
        if (m_alsaUsed)
            snd_config_update_free_global();
    }

    bool play(std::vector<unsigned char> image, const WaveInfo& info, bool async, bool loop, bool noStop,
              const std::string& device)
    {
        std::unique_lock<std::mutex> g(m_mutex);
        if (noStop && m_playing)
            return false;
        stopLocked();
        if (device.empty())
            return true;
        m_alsaUsed = true;
        m_stop = false;
        m_playing = true;
        if (async) {
            m_worker = std::thread([this, image = std::move(image), info, loop, device] {
                run(image, info, loop, device);
                m_playing = false;
            });
            return true;
        }
        g.unlock();
        // A sound played synchronously never loops: nothing could stop it.
        run(image, info, false, device);
        m_playing = false;
        return true;
    }

    void stop()
    {
        std::lock_guard<std::mutex> g(m_mutex);
        stopLocked();
    }

    bool playing() const { return m_playing; }

private:
    void stopLocked()
    {
        m_stop = true;
        if (m_worker.joinable())
            m_worker.join();
    }

    void run(const std::vector<unsigned char>& image, const WaveInfo& info, bool loop, const std::string& device)
    {
        static std::once_flag quiet;
        std::call_once(quiet, [] { snd_lib_error_set_handler(&quietAlsa); });
        snd_pcm_t* pcm = nullptr;
        if (snd_pcm_open(&pcm, device.c_str(), SND_PCM_STREAM_PLAYBACK, 0) < 0)
            return;
        snd_pcm_format_t format = info.bitsPerSample == 8 ? SND_PCM_FORMAT_U8 : SND_PCM_FORMAT_S16_LE;
        constexpr unsigned kLatencyUs = 100000;
        if (snd_pcm_set_params(pcm, format, SND_PCM_ACCESS_RW_INTERLEAVED, info.channels, info.sampleRate, 1,
                               kLatencyUs) < 0) {
            snd_pcm_close(pcm);
            return;
        }
        const unsigned char* samples = image.data() + info.dataOffset;
        size_t frames = info.dataBytes / info.blockAlign;
        // About 20 ms per write: short enough for a prompt stop.
        size_t slice = std::max<size_t>(info.sampleRate / 50, 64);
        bool stopped = false;
        do {
            size_t done = 0;
            while (done < frames) {
                if (m_stop) {
                    stopped = true;
                    break;
                }
                size_t n = std::min(slice, frames - done);
                snd_pcm_sframes_t w = snd_pcm_writei(pcm, samples + done * info.blockAlign, snd_pcm_uframes_t(n));
                if (w < 0) {
                    if (snd_pcm_recover(pcm, int(w), 1) < 0) {
                        stopped = true;
                        break;
                    }
                    continue;
                }
                done += size_t(w);
            }
        } while (loop && !stopped && !m_stop && frames);
        if (stopped || m_stop)
            snd_pcm_drop(pcm);
        else
            snd_pcm_drain(pcm);
        snd_pcm_close(pcm);
    }

    std::mutex m_mutex;
    std::thread m_worker;
    std::atomic<bool> m_stop{false};
    std::atomic<bool> m_playing{false};
    bool m_alsaUsed = false;
};

Player& player()
{
    static Player p;
    return p;
}

std::optional<std::string>& testDevice()
{
    static std::optional<std::string> d;
    return d;
}

} // namespace

std::string outputDevice()
{
    if (testDevice())
        return *testDevice();
    if (const char* env = std::getenv("VELKARO_SOUND_DEVICE"))
        return env;
    return backend().isHeadless() ? std::string() : std::string("default");
}

void setOutputDeviceForTesting(const char* device)
{
    if (device)
        testDevice() = device;
    else
        testDevice().reset();
}

bool playWave(std::vector<unsigned char> image, const WaveInfo& info, bool async, bool loop, bool noStop)
{
    return player().play(std::move(image), info, async, loop, noStop, outputDevice());
}

void stopSound() { player().stop(); }

bool soundPlaying() { return player().playing(); }

} // namespace vk::sound
