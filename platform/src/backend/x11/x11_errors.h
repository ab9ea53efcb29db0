// X error handling shared by every X connection of the process. Protocol
// errors (a BadWindow after a window went away, a refused grab) are recorded
// and ignored; losing the display ends the program with one line.
#pragma once

struct _XDisplay;

namespace vk {

// Installs the handlers once per process; the matching release restores the
// previous ones when the last user goes away.
void x11InstallErrorHandlers();
void x11ReleaseErrorHandlers();

// XOpenDisplay with a few quick retries: a busy server now and then refuses
// a connection that succeeds a moment later.
_XDisplay* x11OpenDisplay(const char* name);

// Protocol errors seen so far and the code of the last one. Comparing the
// count around an XSync tells whether a request failed.
unsigned long x11ErrorCount();
int x11LastErrorCode();

} // namespace vk
