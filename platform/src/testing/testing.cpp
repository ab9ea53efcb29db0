// The testing API: scripted input, the virtual clock, screen read-back,
// message spies, dialog answers and live-object counts.
#include <velkaro/testing.h>

#include "backend/headless.h"
#include "core/clock.h"
#include "gdi/dc_view.h"
#include "testing/records.h"
#include "user/user_objects.h"
#include "user/window.h"

#include <png.h>

#include <algorithm>
#include <cstdio>
#include <deque>
#include <memory>

namespace vk::gdiplus {
// Defined by the GDI+ area; weak so the testing API also links without it.
size_t liveObjectCount() __attribute__((weak));
}

namespace vk::records {

namespace {

struct Records {
    std::deque<std::optional<std::string>> fileAnswers;
    std::deque<int> boxAnswers;
    std::vector<velkaro::testing::ShownMessageBox> boxes;
    std::vector<std::string> shell;
    std::vector<velkaro::testing::PlayedSound> sounds;
};

Records& records()
{
    static Records* r = new Records();
    return *r;
}

} // namespace

bool takeFileDialogAnswer(std::optional<std::string>& answer)
{
    auto& q = records().fileAnswers;
    if (q.empty())
        return false;
    answer = q.front();
    q.pop_front();
    return true;
}

bool takeMessageBoxAnswer(int& result)
{
    auto& q = records().boxAnswers;
    if (q.empty())
        return false;
    result = q.front();
    q.pop_front();
    return true;
}

void recordMessageBox(const char* text, const char* caption, UINT type)
{
    records().boxes.push_back({text ? text : "", caption ? caption : "", type});
}

void recordShellExecute(const std::string& target) { records().shell.push_back(target); }

void recordSound(const unsigned char* bytes, size_t size, DWORD flags)
{
    velkaro::testing::PlayedSound s;
    if (bytes)
        s.bytes.assign(bytes, bytes + size);
    s.flags = flags;
    records().sounds.push_back(std::move(s));
}

} // namespace vk::records

using namespace vk;
using namespace vk::user;

namespace velkaro::testing {

namespace {

bool g_quit = false;
int g_quitCode = 0;
constexpr COLORREF kDesktop = RGB(58, 110, 165);

HeadlessBackend* headless()
{
    backend();
    return headlessBackend();
}

void inject(const InputEvent& ev)
{
    backend().injectEvent(ev);
}

InputEvent mouseEvent(InputEvent::Type type, int button)
{
    InputEvent ev;
    ev.type = type;
    ev.button = button;
    POINT p = backend().cursorPos();
    ev.x = p.x;
    ev.y = p.y;
    return ev;
}

uint32_t toColorRef(uint32_t argb)
{
    return ((argb >> 16) & 0xFF) | (argb & 0xFF00) | ((argb & 0xFF) << 16);
}

// Composes what the screen shows: the desktop, then each visible top-level
// window from the back to the front, through its window region.
std::vector<uint32_t> compose(int& w, int& h)
{
    SIZE sz = backend().screenSize();
    w = sz.cx;
    h = sz.cy;
    uint32_t desktop = 0xFF000000u | (GetRValue(kDesktop) << 16) | (GetGValue(kDesktop) << 8) | GetBValue(kDesktop);
    std::vector<uint32_t> px(size_t(w) * size_t(h), desktop);
    auto& tops = state().topLevels;
    for (auto it = tops.rbegin(); it != tops.rend(); ++it) {
        Window* t = *it;
        if (!(t->style & WS_VISIBLE) || t->minimized() || !t->surface)
            continue;
        const Surface& s = t->surface->get();
        int x0 = std::max<int>(0, t->rect.left), y0 = std::max<int>(0, t->rect.top);
        int x1 = std::min<int>(w, t->rect.left + s.width), y1 = std::min<int>(h, t->rect.top + s.height);
        for (int y = y0; y < y1; ++y) {
            const uint32_t* src = s.row(y - t->rect.top);
            for (int x = x0; x < x1; ++x) {
                int sx = x - t->rect.left;
                if (t->windowRgn && !t->windowRgn->contains(sx, y - t->rect.top))
                    continue;
                px[size_t(y) * size_t(w) + size_t(x)] = src[sx] | 0xFF000000u;
            }
        }
    }
    return px;
}

bool writePng(const char* path, const uint32_t* px, int w, int h, int strideWords)
{
    FILE* f = fopen(path, "wb");
    if (!f)
        return false;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    if (!png || !info) {
        png_destroy_write_struct(&png, &info);
        fclose(f);
        return false;
    }
    std::vector<unsigned char> row(size_t(w) * 3);
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        fclose(f);
        return false;
    }
    png_init_io(png, f);
    png_set_IHDR(png, info, png_uint_32(w), png_uint_32(h), 8, PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_set_compression_level(png, 3);
    png_write_info(png, info);
    for (int y = 0; y < h; ++y) {
        const uint32_t* s = px + size_t(y) * size_t(strideWords);
        for (int x = 0; x < w; ++x) {
            row[size_t(x) * 3] = (s[x] >> 16) & 0xFF;
            row[size_t(x) * 3 + 1] = (s[x] >> 8) & 0xFF;
            row[size_t(x) * 3 + 2] = s[x] & 0xFF;
        }
        png_write_row(png, row.data());
    }
    png_write_end(png, info);
    png_destroy_write_struct(&png, &info);
    return fclose(f) == 0;
}

} // namespace

bool startHeadless(int width, int height)
{
    if (!backendStarted()) {
        setBackend(createHeadlessBackend(width, height));
        return true;
    }
    HeadlessBackend* h = headlessBackend();
    if (!h)
        return false;
    h->resize(width, height);
    return true;
}

bool isHeadless() { return headless() != nullptr; }

void setWorkArea(const RECT& rc)
{
    if (HeadlessBackend* h = headless())
        h->setWorkArea(rc);
}

void mouseMove(int x, int y)
{
    backend().setCursorPos(x, y);
    InputEvent ev;
    ev.type = InputEvent::Type::MouseMove;
    ev.x = x;
    ev.y = y;
    inject(ev);
}

void mouseDown(int button) { inject(mouseEvent(InputEvent::Type::ButtonDown, button)); }
void mouseUp(int button) { inject(mouseEvent(InputEvent::Type::ButtonUp, button)); }

void click(int x, int y, int button)
{
    mouseMove(x, y);
    mouseDown(button);
    mouseUp(button);
}

void doubleClick(int x, int y)
{
    click(x, y);
    click(x, y);
}

void wheel(int delta)
{
    InputEvent ev = mouseEvent(InputEvent::Type::Wheel, 0);
    ev.delta = delta;
    inject(ev);
}

void keyDown(unsigned vk, const char* text)
{
    InputEvent ev;
    ev.type = InputEvent::Type::KeyDown;
    ev.vk = vk;
    if (text)
        ev.text = text;
    inject(ev);
}

void keyUp(unsigned vk)
{
    InputEvent ev;
    ev.type = InputEvent::Type::KeyUp;
    ev.vk = vk;
    inject(ev);
}

void pressKey(unsigned vk, const char* text)
{
    keyDown(vk, text);
    keyUp(vk);
}

void typeText(const char* utf8)
{
    if (!utf8)
        return;
    const unsigned char* p = reinterpret_cast<const unsigned char*>(utf8);
    while (*p) {
        size_t len = 1;
        if (*p >= 0xF0)
            len = 4;
        else if (*p >= 0xE0)
            len = 3;
        else if (*p >= 0xC0)
            len = 2;
        std::string ch(reinterpret_cast<const char*>(p), len);
        unsigned vk = 0xE7; // VK_PACKET: a character without a key of its own
        if (len == 1) {
            char c = char(*p);
            if (c >= 'a' && c <= 'z')
                vk = unsigned(c - 'a' + 'A');
            else if ((c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9'))
                vk = unsigned(c);
            else if (c == ' ')
                vk = VK_SPACE;
            else if (c == '\r' || c == '\n')
                vk = VK_RETURN, ch = "\r";
            else if (c == '\t')
                vk = VK_TAB;
        }
        pressKey(vk, ch.c_str());
        for (size_t i = 0; i < len && *p; ++i)
            ++p;
    }
}

void activateOtherProgram()
{
    InputEvent ev;
    ev.type = InputEvent::Type::Activate;
    ev.window = nullptr;
    inject(ev);
}

void activateWindow(HWND hwnd)
{
    InputEvent ev;
    ev.type = InputEvent::Type::Activate;
    ev.window = hwnd;
    inject(ev);
}

POINT cursorPos()
{
    POINT p;
    GetCursorPos(&p);
    return p;
}

size_t pumpUntilIdle(size_t maxMessages)
{
    size_t n = 0;
    MSG m;
    while (n < maxMessages && PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE)) {
        if (m.message == WM_QUIT) {
            g_quit = true;
            g_quitCode = int(m.wParam);
            break;
        }
        TranslateMessage(&m);
        DispatchMessageA(&m);
        ++n;
    }
    return n;
}

void advanceClock(uint32_t ms)
{
    HeadlessBackend* h = headless();
    if (!h)
        return;
    uint64_t target = h->nowMs() + ms;
    pumpUntilIdle();
    for (int guard = 0; guard < 10000000; ++guard) {
        uint64_t due = 0;
        for (const Timer& t : state().timers)
            if (!due || t.due < due)
                due = t.due;
        uint64_t internal = nextInternalDue();
        if (internal && (!due || internal < due))
            due = internal;
        if (!due || due > target)
            break;
        if (due > h->nowMs())
            h->setClock(due);
        pumpUntilIdle();
    }
    if (h->nowMs() < target)
        h->setClock(target);
    pumpUntilIdle();
}

uint64_t now() { return nowMs(); }
bool quitReceived() { return g_quit; }
int quitCode() { return g_quitCode; }
void clearQuit() { g_quit = false; }

void setIdleHandler(std::function<bool()> fn) { idleHook() = std::move(fn); }

COLORREF screenPixel(int x, int y)
{
    int w, h;
    std::vector<uint32_t> px = compose(w, h);
    if (x < 0 || y < 0 || x >= w || y >= h)
        return CLR_INVALID;
    return toColorRef(px[size_t(y) * size_t(w) + size_t(x)]);
}

COLORREF windowPixel(HWND hwnd, int x, int y)
{
    Window* win = fromHandle(hwnd);
    if (!win)
        return CLR_INVALID;
    Window* top = topLevelOf(win);
    if (!top->surface)
        return CLR_INVALID;
    POINT o = windowOriginInTop(win);
    const Surface& s = top->surface->get();
    int sx = o.x + x, sy = o.y + y;
    if (x < 0 || y < 0 || x >= win->rect.right - win->rect.left || y >= win->rect.bottom - win->rect.top)
        return CLR_INVALID;
    if (sx < 0 || sy < 0 || sx >= s.width || sy >= s.height)
        return CLR_INVALID;
    return toColorRef(s.row(sy)[sx]);
}

std::vector<uint32_t> screenPixels(int* width, int* height)
{
    int w, h;
    std::vector<uint32_t> px = compose(w, h);
    if (width)
        *width = w;
    if (height)
        *height = h;
    return px;
}

bool saveScreenshot(const char* path)
{
    int w, h;
    std::vector<uint32_t> px = compose(w, h);
    return writePng(path, px.data(), w, h, w);
}

bool saveWindowScreenshot(HWND hwnd, const char* path)
{
    Window* win = fromHandle(hwnd);
    if (!win)
        return false;
    Window* top = topLevelOf(win);
    if (!top->surface)
        return false;
    const Surface& s = top->surface->get();
    POINT o = windowOriginInTop(win);
    int w = std::min<int>(win->rect.right - win->rect.left, s.width - o.x);
    int h = std::min<int>(win->rect.bottom - win->rect.top, s.height - o.y);
    if (w <= 0 || h <= 0 || o.x < 0 || o.y < 0)
        return false;
    return writePng(path, s.row(o.y) + o.x, w, h, s.stride / 4);
}

int cursorShapeId()
{
    HeadlessBackend* h = headless();
    if (!h)
        return 0;
    switch (h->cursorShape()) {
    case CursorShape::IBeam: return 32513;
    case CursorShape::Wait: return 32514;
    case CursorShape::Cross: return 32515;
    case CursorShape::UpArrow: return 32516;
    case CursorShape::SizeNWSE: return 32642;
    case CursorShape::SizeNESW: return 32643;
    case CursorShape::SizeWE: return 32644;
    case CursorShape::SizeNS: return 32645;
    case CursorShape::SizeAll: return 32646;
    case CursorShape::No: return 32648;
    case CursorShape::Hand: return 32649;
    case CursorShape::AppStarting: return 32650;
    case CursorShape::Help: return 32651;
    default: return 32512;
    }
}

uint64_t presentCount()
{
    HeadlessBackend* h = headless();
    return h ? h->presents() : 0;
}

MessageSpy::MessageSpy(HWND hwnd) : m_hwnd(hwnd)
{
    m_id = addSpy([this](HWND h, UINT msg, WPARAM wp, LPARAM lp) {
        if (!m_hwnd || h == m_hwnd)
            m_messages.push_back(SpiedMessage{h, msg, wp, lp});
    });
}

MessageSpy::~MessageSpy() { removeSpy(m_id); }

std::vector<UINT> MessageSpy::ids(const std::vector<UINT>& only) const
{
    std::vector<UINT> out;
    for (const SpiedMessage& m : m_messages)
        if (only.empty() || std::find(only.begin(), only.end(), m.message) != only.end())
            out.push_back(m.message);
    return out;
}

size_t MessageSpy::count(UINT message) const
{
    return size_t(std::count_if(m_messages.begin(), m_messages.end(), [&](const SpiedMessage& m) { return m.message == message; }));
}

void answerNextFileDialog(const char* path)
{
    records::records().fileAnswers.push_back(path ? std::optional<std::string>(path) : std::nullopt);
}

void answerNextMessageBox(int result) { records::records().boxAnswers.push_back(result); }

std::vector<ShownMessageBox> messageBoxesShown() { return records::records().boxes; }
std::vector<std::string> shellExecuted() { return records::records().shell; }
std::vector<PlayedSound> soundsPlayed() { return records::records().sounds; }

void clearRecords()
{
    auto& r = records::records();
    r.boxes.clear();
    r.shell.clear();
    r.sounds.clear();
    r.fileAnswers.clear();
    r.boxAnswers.clear();
}

size_t liveGdiObjects() { return gdi::liveGdiObjectCount(); }
size_t liveGdiplusObjects() { return gdiplus::liveObjectCount ? gdiplus::liveObjectCount() : 0; }
size_t liveWindows() { return state().windows.live(); }
size_t liveUserObjects() { return userObjects().live(); }

} // namespace velkaro::testing
