/* GDI+ start-up and shutdown. */
#ifndef VELKARO_GDIPLUSINIT_H
#define VELKARO_GDIPLUSINIT_H

#include <gdiplusenums.h>

namespace Gdiplus {

typedef VOID(WINAPI* DebugEventProc)(DebugEventLevel level, CHAR* message);
typedef Status(WINAPI* NotificationHookProc)(ULONG_PTR* token);
typedef VOID(WINAPI* NotificationUnhookProc)(ULONG_PTR token);

struct GdiplusStartupInput {
    UINT32 GdiplusVersion;
    DebugEventProc DebugEventCallback;
    BOOL SuppressBackgroundThread;
    BOOL SuppressExternalCodecs;

    GdiplusStartupInput(DebugEventProc debugEventCallback = NULL, BOOL suppressBackgroundThread = FALSE,
                        BOOL suppressExternalCodecs = FALSE)
        : GdiplusVersion(1), DebugEventCallback(debugEventCallback),
          SuppressBackgroundThread(suppressBackgroundThread), SuppressExternalCodecs(suppressExternalCodecs)
    {
    }
};

struct GdiplusStartupOutput {
    NotificationHookProc NotificationHook;
    NotificationUnhookProc NotificationUnhook;
};

extern "C" Status WINAPI GdiplusStartup(ULONG_PTR* token, const GdiplusStartupInput* input, GdiplusStartupOutput* output);
extern "C" VOID WINAPI GdiplusShutdown(ULONG_PTR token);

} // namespace Gdiplus

#endif
