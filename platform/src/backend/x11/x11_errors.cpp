// X error handlers: record and continue, never abort the program.
#include "backend/x11/x11_errors.h"

#include <X11/Xlib.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <unistd.h>

namespace vk {

namespace {

std::atomic<unsigned long> g_errorCount{0};
std::atomic<int> g_lastErrorCode{0};
int g_users = 0;
XErrorHandler g_previousHandler = nullptr;
XIOErrorHandler g_previousIoHandler = nullptr;

bool traceX11Errors()
{
    static const bool on = [] {
        const char* v = std::getenv("VELKARO_TRACE_X11");
        return v && *v && *v != '0';
    }();
    return on;
}

int onXError(Display* dpy, XErrorEvent* e)
{
    g_errorCount.fetch_add(1);
    g_lastErrorCode.store(e->error_code);
    if (traceX11Errors()) {
        char text[160] = {};
        XGetErrorText(dpy, e->error_code, text, sizeof(text) - 1);
        std::fprintf(stderr, "velkaro: X error %s (request %d.%d, resource 0x%lx)\n", text,
                     e->request_code, e->minor_code, e->resourceid);
    }
    return 0;
}

int onXIoError(Display*)
{
    std::fprintf(stderr, "velkaro: lost the connection to the X display\n");
    std::exit(1);
}

} // namespace

void x11InstallErrorHandlers()
{
    if (g_users++ == 0) {
        g_previousHandler = XSetErrorHandler(onXError);
        g_previousIoHandler = XSetIOErrorHandler(onXIoError);
    }
}

void x11ReleaseErrorHandlers()
{
    if (g_users > 0 && --g_users == 0) {
        XSetErrorHandler(g_previousHandler);
        XSetIOErrorHandler(g_previousIoHandler);
    }
}

Display* x11OpenDisplay(const char* name)
{
    constexpr int kAttempts = 5;
    for (int i = 0; i < kAttempts; ++i) {
        if (Display* dpy = XOpenDisplay(name))
            return dpy;
        // Only a display that exists is worth waiting for.
        const char* shown = name ? name : std::getenv("DISPLAY");
        if (!shown || !*shown)
            return nullptr;
        const std::string n = shown;
        const size_t colon = n.rfind(':');
        if (colon == std::string::npos)
            return nullptr;
        const std::string socket = "/tmp/.X11-unix/X" + n.substr(colon + 1, n.find('.', colon) - colon - 1);
        if (access(socket.c_str(), F_OK) != 0)
            return nullptr;
        usleep(20000);
    }
    return nullptr;
}

unsigned long x11ErrorCount() { return g_errorCount.load(); }
int x11LastErrorCode() { return g_lastErrorCode.load(); }

} // namespace vk
