// The one sound the program plays at a time, sent to an ALSA device from a
// worker thread (asynchronous) or the caller's thread (synchronous). A new
// sound or a stop ends the current one and joins its thread; so does exit.
#pragma once

#include "sound/wave_file.h"

#include <string>
#include <vector>

namespace vk::sound {

// Where sounds go: an ALSA device name, or "" to play nowhere. The default is
// "default", or nowhere on the headless backend; VELKARO_SOUND_DEVICE chooses
// one explicitly ("null" plays through the whole path without hardware).
std::string outputDevice();
// Tests redirect the output; nullptr returns to the default choice.
void setOutputDeviceForTesting(const char* device);

// Plays a whole wave image (copied by the caller: it owns `image`). With
// noStop a sound still playing wins and false comes back.
bool playWave(std::vector<unsigned char> image, const WaveInfo& info, bool async, bool loop, bool noStop);
void stopSound();
// A sound is playing now (asynchronous ones report until their thread ends).
bool soundPlaying();

} // namespace vk::sound
