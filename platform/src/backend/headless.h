// The in-memory screen: a virtual screen size and work area, a virtual clock
// and a queue of scripted input. What the screen shows is composed from the
// top-level windows' surfaces when someone looks.
#pragma once

#include "backend/backend.h"

#include <deque>

namespace vk {

class HeadlessBackend final : public Backend {
public:
    HeadlessBackend(int width, int height);

    const char* name() const override { return "headless"; }
    bool isHeadless() const override { return true; }
    SIZE screenSize() const override { return m_size; }
    RECT workArea() const override { return m_work; }
    uint64_t nowMs() override { return m_clock; }

    void windowCreated(HWND, const RECT&, DWORD, DWORD) override {}
    void windowDestroyed(HWND) override {}
    void windowShown(HWND, bool) override {}
    void windowMoved(HWND, const RECT&) override {}
    void windowIconified(HWND, bool) override {}
    void windowTitle(HWND, const std::string&) override {}
    void windowRegion(HWND, const Region*) override {}
    void windowsRestacked(const std::vector<HWND>&) override {}
    void activateWindow(HWND) override {}
    void present(HWND, const Surface&, const Region&) override { ++m_presents; }

    void setCursor(CursorShape shape) override { m_cursorShape = shape; }
    POINT cursorPos() const override { return m_cursor; }
    void setCursorPos(int x, int y) override { m_cursor = POINT{x, y}; }
    void grabPointer(HWND) override {}
    void ungrabPointer() override {}

    void pollEvents(std::vector<InputEvent>& out) override;
    bool waitEvents(int timeoutMs) override;
    void injectEvent(const InputEvent& ev) override;

    // Headless only.
    void resize(int width, int height);
    void setWorkArea(const RECT& r) { m_work = r; }
    void advance(uint64_t ms) { m_clock += ms; }
    void setClock(uint64_t ms) { m_clock = ms; }
    CursorShape cursorShape() const { return m_cursorShape; }
    uint64_t presents() const { return m_presents; }

private:
    SIZE m_size;
    RECT m_work;
    uint64_t m_clock = 10000;
    POINT m_cursor{0, 0};
    CursorShape m_cursorShape = CursorShape::Arrow;
    std::deque<InputEvent> m_events;
    uint64_t m_presents = 0;
};

// The headless backend in use, or null when another backend runs.
HeadlessBackend* headlessBackend();

} // namespace vk
