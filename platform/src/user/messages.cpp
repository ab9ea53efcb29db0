// Sending, posting and retrieving messages, and window timers.
//
// Retrieval follows Win32's priorities: posted messages, then input, then
// WM_QUIT, then WM_PAINT, then WM_TIMER. The headless backend never sleeps:
// when the outermost message loop has only timers to wait for, the virtual
// clock jumps to the next one.
#include "backend/backend.h"
#include "core/clock.h"
#include "core/last_error.h"
#include "user/window.h"

#include <algorithm>
#include <deque>
#include <map>

namespace vk::user {

namespace {

constexpr int kMaxSendDepth = 400;

struct Queue {
    std::deque<MSG> posted;
    bool quit = false;
    int quitCode = 0;
    MSG last{};
    std::map<int, SpyFn> spies;
    int nextSpy = 1;
};

Queue& queue()
{
    static Queue* q = new Queue();
    return *q;
}

bool matchesWindow(HWND filter, HWND hwnd)
{
    if (!filter)
        return true;
    if (filter == reinterpret_cast<HWND>(-1))
        return hwnd == nullptr;
    if (hwnd == filter)
        return true;
    Window* f = fromHandle(filter);
    Window* w = fromHandle(hwnd);
    return f && w && isDescendant(f, w);
}

bool matchesRange(UINT msg, UINT lo, UINT hi)
{
    if (lo == 0 && hi == 0)
        return true;
    if (hi < lo)
        return msg >= lo || msg <= hi;
    return msg >= lo && msg <= hi;
}

void stamp(MSG& m)
{
    m.time = DWORD(nowMs());
    if (backendStarted())
        m.pt = backend().cursorPos();
}

bool takeTimer(MSG& out, HWND filter, UINT lo, UINT hi, bool remove)
{
    if (!matchesRange(WM_TIMER, lo, hi))
        return false;
    State& s = state();
    uint64_t now = nowMs();
    Timer* best = nullptr;
    for (Timer& t : s.timers)
        if (t.due <= now && matchesWindow(filter, t.hwnd) && (!best || t.due < best->due))
            best = &t;
    if (!best)
        return false;
    out = MSG{};
    out.hwnd = best->hwnd;
    out.message = WM_TIMER;
    out.wParam = best->id;
    out.lParam = reinterpret_cast<LPARAM>(best->proc);
    stamp(out);
    if (remove)
        best->due = now + best->interval;
    return true;
}

} // namespace

int addSpy(SpyFn fn)
{
    Queue& q = queue();
    int id = q.nextSpy++;
    q.spies[id] = std::move(fn);
    return id;
}

void removeSpy(int id) { queue().spies.erase(id); }

std::function<bool()>& idleHook()
{
    static std::function<bool()> hook;
    return hook;
}

LRESULT send(Window* w, UINT msg, WPARAM wp, LPARAM lp)
{
    if (!w || !w->proc)
        return 0;
    State& s = state();
    if (s.sendDepth >= kMaxSendDepth) {
        fail(ERROR_NOT_ENOUGH_MEMORY);
        return 0;
    }
    HWND hwnd = w->hwnd;
    Queue& q = queue();
    if (!q.spies.empty()) {
        auto spies = q.spies; // a spy may remove itself
        for (auto& [id, fn] : spies)
            fn(hwnd, msg, wp, lp);
    }
    ++s.sendDepth;
    LRESULT r = w->proc(hwnd, msg, wp, lp);
    --s.sendDepth;
    freeGraveyardIfIdle();
    return r;
}

LRESULT sendTo(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp)
{
    Window* w = fromHandle(hwnd);
    return w ? send(w, msg, wp, lp) : 0;
}

void post(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp)
{
    MSG m{};
    m.hwnd = hwnd;
    m.message = msg;
    m.wParam = wp;
    m.lParam = lp;
    stamp(m);
    queue().posted.push_back(m);
}

// Looks for the next message without waiting.
bool peekMessage(MSG& out, HWND filter, UINT lo, UINT hi, UINT flags)
{
    bool remove = flags & PM_REMOVE;
    Queue& q = queue();
    processBackendEvents();

    for (auto it = q.posted.begin(); it != q.posted.end(); ++it) {
        if (!matchesWindow(filter, it->hwnd) || !matchesRange(it->message, lo, hi))
            continue;
        out = *it;
        if (remove)
            q.posted.erase(it);
        q.last = out;
        return true;
    }
    if (takeInputMessage(out, filter, lo, hi, remove)) {
        q.last = out;
        return true;
    }
    if (q.quit && q.posted.empty()) {
        out = MSG{};
        out.message = WM_QUIT;
        out.wParam = WPARAM(q.quitCode);
        stamp(out);
        if (remove)
            q.quit = false;
        return true;
    }
    checkInternalTimers();
    if (matchesRange(WM_PAINT, lo, hi)) {
        if (Window* w = findWindowToPaint(); w && matchesWindow(filter, w->hwnd)) {
            out = MSG{};
            out.hwnd = w->hwnd;
            out.message = WM_PAINT;
            stamp(out);
            q.last = out;
            return true;
        }
    }
    if (takeTimer(out, filter, lo, hi, remove)) {
        q.last = out;
        return true;
    }
    presentDamage();
    return false;
}

// Waits until something may be retrieved. False when nothing can arrive any
// more: a headless program whose loop ran dry.
bool waitForWork(bool nested)
{
    State& s = state();
    Backend& b = backend();
    if (hasPendingInput() || !queue().posted.empty())
        return true;
    presentDamage();
    uint64_t now = nowMs();
    uint64_t due = 0;
    for (const Timer& t : s.timers)
        if (!due || t.due < due)
            due = t.due;
    uint64_t internal = nextInternalDue();
    if (internal && (!due || internal < due))
        due = internal;

    if (b.isHeadless()) {
        if (nested || !due) {
            auto& hook = idleHook();
            if (hook && hook())
                return true;
            if (nested)
                return false;
            if (!due)
                return false;
        }
        return b.waitEvents(int(due > now ? due - now : 0));
    }
    int timeout = -1;
    if (due)
        timeout = due > now ? int(std::min<uint64_t>(due - now, 0x7fffffff)) : 0;
    return b.waitEvents(timeout);
}

bool queueHasQuit() { return queue().quit; }

} // namespace vk::user

using namespace vk;
using namespace vk::user;

extern "C" {

LRESULT WINAPI CallWindowProcA(WNDPROC proc, HWND hwnd, UINT msg, WPARAM wp, LPARAM lp)
{
    if (!proc)
        return 0;
    State& s = state();
    if (s.sendDepth >= 400) {
        fail(ERROR_NOT_ENOUGH_MEMORY);
        return 0;
    }
    ++s.sendDepth;
    LRESULT r = proc(hwnd, msg, wp, lp);
    --s.sendDepth;
    return r;
}

LRESULT WINAPI SendMessageA(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp)
{
    if (hwnd == HWND_BROADCAST) {
        std::vector<HWND> all;
        for (Window* t : state().topLevels)
            all.push_back(t->hwnd);
        for (HWND h : all)
            sendTo(h, msg, wp, lp);
        return 0;
    }
    Window* w = checked(hwnd);
    if (!w)
        return 0;
    LRESULT r = send(w, msg, wp, lp);
    freeGraveyardIfIdle();
    return r;
}

LRESULT WINAPI SendMessageTimeoutA(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, UINT, UINT, PDWORD_PTR result)
{
    if (!checked(hwnd) && hwnd != HWND_BROADCAST)
        return 0;
    LRESULT r = SendMessageA(hwnd, msg, wp, lp);
    if (result)
        *result = DWORD_PTR(r);
    return 1;
}

BOOL WINAPI SendNotifyMessageA(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp)
{
    if (hwnd != HWND_BROADCAST && !checked(hwnd))
        return FALSE;
    SendMessageA(hwnd, msg, wp, lp);
    return TRUE;
}

BOOL WINAPI PostMessageA(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp)
{
    if (hwnd == HWND_BROADCAST) {
        for (Window* t : state().topLevels)
            post(t->hwnd, msg, wp, lp);
        return TRUE;
    }
    if (hwnd && !checked(hwnd))
        return FALSE;
    post(hwnd, msg, wp, lp);
    return TRUE;
}

BOOL WINAPI PostThreadMessageA(DWORD, UINT msg, WPARAM wp, LPARAM lp)
{
    post(nullptr, msg, wp, lp);
    return TRUE;
}

void WINAPI PostQuitMessage(int code)
{
    Queue& q = queue();
    q.quit = true;
    q.quitCode = code;
}

BOOL WINAPI PeekMessageA(LPMSG msg, HWND hwnd, UINT lo, UINT hi, UINT flags)
{
    MSG m{};
    if (!peekMessage(m, hwnd, lo, hi, flags))
        return FALSE;
    if (flags & PM_REMOVE)
        updateKeyStateFor(m);
    if (msg)
        *msg = m;
    return TRUE;
}

BOOL WINAPI GetMessageA(LPMSG msg, HWND hwnd, UINT lo, UINT hi)
{
    if (!msg)
        return failWith(ERROR_INVALID_PARAMETER, -1);
    bool nested = state().sendDepth > 0;
    for (;;) {
        MSG m{};
        if (peekMessage(m, hwnd, lo, hi, PM_REMOVE)) {
            updateKeyStateFor(m);
            *msg = m;
            return m.message != WM_QUIT;
        }
        if (!waitForWork(nested)) {
            // Nothing can arrive any more (headless): end this loop as if
            // asked to quit, without touching the program's own quit state.
            *msg = MSG{};
            msg->message = WM_QUIT;
            return FALSE;
        }
    }
}

BOOL WINAPI WaitMessage(void)
{
    MSG m;
    if (peekMessage(m, nullptr, 0, 0, PM_NOREMOVE))
        return TRUE;
    return waitForWork(state().sendDepth > 0) ? TRUE : FALSE;
}

DWORD WINAPI GetQueueStatus(UINT flags)
{
    DWORD status = 0;
    if (!queue().posted.empty())
        status |= QS_POSTMESSAGE | QS_ALLPOSTMESSAGE;
    if (hasPendingInput())
        status |= QS_INPUT;
    if (findWindowToPaint())
        status |= QS_PAINT;
    uint64_t now = nowMs();
    for (const Timer& t : state().timers)
        if (t.due <= now)
            status |= QS_TIMER;
    return (status & flags) | ((status & flags) << 16);
}

BOOL WINAPI GetInputState(void) { return hasPendingInput(); }

LRESULT WINAPI DispatchMessageA(const MSG* msg)
{
    if (!msg)
        return failWith(ERROR_INVALID_PARAMETER, LRESULT(0));
    if (msg->message == WM_TIMER && msg->lParam) {
        auto proc = reinterpret_cast<TIMERPROC>(msg->lParam);
        // Only a timer that still exists may run its callback.
        bool live = false;
        for (const Timer& t : state().timers)
            if (t.hwnd == msg->hwnd && t.id == msg->wParam && t.proc == proc)
                live = true;
        if (!live)
            return 0;
        ++state().sendDepth;
        proc(msg->hwnd, WM_TIMER, msg->wParam, LONG(nowMs()));
        --state().sendDepth;
        freeGraveyardIfIdle();
        return 0;
    }
    if (!msg->hwnd)
        return 0;
    Window* w = checked(msg->hwnd);
    if (!w)
        return 0;
    LRESULT r = send(w, msg->message, msg->wParam, msg->lParam);
    if (msg->message == WM_PAINT) {
        // A WM_PAINT handler that did not validate would be asked again for
        // ever; Win32 validates after the default procedure. Internal paint
        // requests are single shots.
        if (Window* still = fromHandle(msg->hwnd))
            still->internalPaint = false;
    }
    freeGraveyardIfIdle();
    return r;
}

DWORD WINAPI GetMessagePos(void)
{
    POINT p = queue().last.pt;
    return DWORD(MAKELONG(p.x, p.y));
}

LONG WINAPI GetMessageTime(void) { return LONG(queue().last.time); }

BOOL WINAPI InSendMessage(void) { return FALSE; }
BOOL WINAPI ReplyMessage(LRESULT) { return FALSE; }

UINT WINAPI RegisterWindowMessageA(LPCSTR name)
{
    static std::map<std::string, UINT> registered;
    if (!name || !*name)
        return failWith(ERROR_INVALID_PARAMETER, UINT(0));
    std::string key(name);
    for (char& c : key)
        c = char(tolower(static_cast<unsigned char>(c)));
    auto it = registered.find(key);
    if (it != registered.end())
        return it->second;
    UINT id = 0xC000 + UINT(registered.size()) + 0x100;
    registered[key] = id;
    return id;
}

HHOOK WINAPI SetWindowsHookExA(int, HOOKPROC fn, HINSTANCE, DWORD)
{
    // Hooks are accepted so programs that install them run; they are not called.
    if (!fn)
        return failWith(ERROR_INVALID_PARAMETER, HHOOK(nullptr));
    static uintptr_t next = 0x7A000001;
    return reinterpret_cast<HHOOK>(next++);
}

BOOL WINAPI UnhookWindowsHookEx(HHOOK hook) { return hook ? TRUE : FALSE; }
LRESULT WINAPI CallNextHookEx(HHOOK, int, WPARAM, LPARAM) { return 0; }

UINT_PTR WINAPI SetTimer(HWND hwnd, UINT_PTR id, UINT elapse, TIMERPROC proc)
{
    if (hwnd && !checked(hwnd))
        return 0;
    State& s = state();
    elapse = std::clamp<UINT>(elapse, USER_TIMER_MINIMUM, USER_TIMER_MAXIMUM);
    if (!hwnd) {
        // Thread timers get fresh ids unless an existing one is replaced.
        bool existing = false;
        for (const Timer& t : s.timers)
            if (!t.hwnd && t.id == id && id)
                existing = true;
        if (!existing)
            id = s.nextTimerId++;
    }
    uint64_t due = nowMs() + elapse;
    for (Timer& t : s.timers)
        if (t.hwnd == hwnd && t.id == id) {
            t.interval = elapse;
            t.due = due;
            t.proc = proc;
            return hwnd ? (id ? id : 1) : id;
        }
    s.timers.push_back(Timer{hwnd, id, elapse, due, proc});
    return hwnd ? (id ? id : 1) : id;
}

BOOL WINAPI KillTimer(HWND hwnd, UINT_PTR id)
{
    State& s = state();
    auto it = std::find_if(s.timers.begin(), s.timers.end(), [&](const Timer& t) { return t.hwnd == hwnd && t.id == id; });
    if (it == s.timers.end())
        return FALSE;
    s.timers.erase(it);
    // A WM_TIMER already waiting in the posted queue is dropped as well.
    auto& posted = queue().posted;
    posted.erase(std::remove_if(posted.begin(), posted.end(),
                                [&](const MSG& m) { return m.message == WM_TIMER && m.hwnd == hwnd && m.wParam == id; }),
                 posted.end());
    return TRUE;
}

} // extern "C"
