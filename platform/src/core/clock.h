// The layer's notion of time: milliseconds since start-up of the backend's
// clock (virtual on the headless backend).
#pragma once

#include <cstdint>

namespace vk {

uint64_t nowMs();
// Sleep: real on x11, a jump of the virtual clock on headless.
void sleepMs(uint32_t ms);

} // namespace vk
