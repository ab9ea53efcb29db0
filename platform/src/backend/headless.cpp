// The headless backend.
#include "backend/headless.h"

namespace vk {

HeadlessBackend::HeadlessBackend(int width, int height)
    : m_size{width, height}, m_work{0, 0, width, height}, m_cursor{width / 2, height / 2}
{
}

void HeadlessBackend::resize(int width, int height)
{
    m_size = SIZE{width, height};
    m_work = RECT{0, 0, width, height};
}

void HeadlessBackend::pollEvents(std::vector<InputEvent>& out)
{
    while (!m_events.empty()) {
        out.push_back(std::move(m_events.front()));
        m_events.pop_front();
    }
}

bool HeadlessBackend::waitEvents(int timeoutMs)
{
    if (!m_events.empty())
        return true;
    if (timeoutMs < 0)
        return false;
    // Nothing happens in between: the clock jumps to the deadline.
    m_clock += uint64_t(timeoutMs);
    return true;
}

void HeadlessBackend::injectEvent(const InputEvent& ev)
{
    if (ev.type == InputEvent::Type::MouseMove || ev.type == InputEvent::Type::ButtonDown ||
        ev.type == InputEvent::Type::ButtonUp)
        m_cursor = POINT{ev.x, ev.y};
    m_events.push_back(ev);
}

std::unique_ptr<Backend> createHeadlessBackend(int width, int height)
{
    return std::make_unique<HeadlessBackend>(width, height);
}

} // namespace vk
