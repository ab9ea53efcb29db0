// Chooses the backend: VELKARO_BACKEND=x11|headless, otherwise x11 when
// $DISPLAY opens and headless when it does not.
#include "backend/backend.h"
#include "backend/headless.h"
#include "core/clock.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <thread>

namespace vk {

namespace {

std::unique_ptr<Backend>& slot()
{
    static std::unique_ptr<Backend>* b = new std::unique_ptr<Backend>();
    return *b;
}

std::unique_ptr<Backend> choose()
{
    const char* want = getenv("VELKARO_BACKEND");
    const char* display = getenv("DISPLAY");
    if (want && strcmp(want, "headless") == 0)
        return createHeadlessBackend(1024, 768);
    if (want && strcmp(want, "x11") == 0) {
        auto b = createX11Backend(display);
        if (!b) {
            fprintf(stderr, "velkaro: VELKARO_BACKEND=x11 but the display \"%s\" cannot be opened\n",
                    display ? display : "");
            exit(1);
        }
        return b;
    }
    if (display && *display) {
        if (auto b = createX11Backend(display))
            return b;
        fprintf(stderr, "velkaro: cannot open display \"%s\"; using the headless screen\n", display);
    }
    return createHeadlessBackend(1024, 768);
}

} // namespace

Backend& backend()
{
    auto& b = slot();
    if (!b)
        b = choose();
    return *b;
}

bool backendStarted() { return slot() != nullptr; }

void setBackend(std::unique_ptr<Backend> b) { slot() = std::move(b); }

HeadlessBackend* headlessBackend()
{
    return backendStarted() ? dynamic_cast<HeadlessBackend*>(slot().get()) : nullptr;
}

uint64_t nowMs() { return backend().nowMs(); }

void sleepMs(uint32_t ms)
{
    if (HeadlessBackend* h = headlessBackend()) {
        h->advance(ms);
        return;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

} // namespace vk
