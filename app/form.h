// How the program's windows are described: a table of controls per window,
// created in table order (so the first control is first in tab order).
#pragma once

#include <windows.h>

#include <span>

namespace velkaro::app {

struct ControlForm {
    const char* className;
    const char* text;
    DWORD style;
    DWORD exStyle;
    int x, y, width, height;
    int id;
};

struct WindowForm {
    const char* className;
    const char* title;
    DWORD style;
    DWORD exStyle;
    int x, y, width, height;  // as designed; shown centred on the screen
    std::span<const ControlForm> controls;
};

// Creates the form's window (its procedure creates the controls from
// WM_CREATE with createControls), centred on the screen.
HWND createFormWindow(const WindowForm& form, void* createParam = nullptr);

// Creates the controls of a form on the parent.
void createControls(HWND parent, std::span<const ControlForm> controls);

// Registers a form window's class with the program's cursor and face colour.
void registerFormClass(const char* className, WNDPROC proc);

// Puts a program window under the skin the way both windows are: fixed size
// (no sizing, no caption double click), no status panels, then the built-in
// background picture.
void attachProgramWindow(HWND window);

// Counts the program's open top-level windows: the message loop ends when the
// last one is destroyed.
void windowOpened();
void windowClosed();

} // namespace velkaro::app
