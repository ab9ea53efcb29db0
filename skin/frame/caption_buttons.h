// The caption buttons: their plain, hot and pressed looks, the 20 ms fade
// between plain and hot, hit tests and what a click does.
#pragma once

#include <windows.h>

namespace velkaro::gfx {
class Graphics;
}

namespace velkaro::skin {

// The caption button the last mouse move or left press found under the
// mouse, in any attached window; 0 for none.
extern int hotButton;

// Draws button n (1-based; below 1 draws nothing). The full form draws with
// the renderer's graphics into frameDc only; the incremental form opens its
// own graphics and copies the button to the screen. alpha 0 is the plain
// look, up to 240 the hot one.
void drawCaptionButton(int slot, int n, gfx::Graphics* graphics, bool full, bool pressed, int alpha);

bool pointInButtonStrip(int slot, LPARAM lParam);
int captionButtonAt(int slot, int x, int y);
int findMaximizeButton(int slot);
void performCaptionButtonAction(int slot, int n);

// The parts of the window procedure's mouse and timer handling that belong
// to the buttons.
void fadeStep(int slot);
void hoverBookkeeping(int slot);
void leaveBookkeeping(int slot);

} // namespace velkaro::skin
