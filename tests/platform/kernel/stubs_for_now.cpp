// Stand-ins for the backend clock (backend/clock.cpp) until it lands: real time.
#include "core/clock.h"

#include <chrono>
#include <thread>

namespace vk {

uint64_t nowMs()
{
    static const auto start = std::chrono::steady_clock::now();
    return uint64_t(std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start).count());
}

void sleepMs(uint32_t ms)
{
    std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

} // namespace vk
