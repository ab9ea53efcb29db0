// Painting an attached window's frame: background, tint, caption band,
// border, icon and title, caption buttons and status bar, rendered with GDI+
// into the window's back buffer and copied to the screen with BitBlt.
#pragma once

#include <windows.h>

#include <optional>
#include <string>

namespace velkaro::gfx {
class Graphics;
}

namespace velkaro::skin {

// Renders the whole frame into frameDc and refreshes the caption, status and
// composite copies; with copy set, also puts it on the window (through dc
// when given) and invalidates the direct child controls.
void renderFrame(int slot, HDC dc, bool copy);

// Copies the back buffer onto the window; releases dc.
void copyFrameToWindow(int slot, HDC dc);

// Draws the icon and the title. The full form draws with the renderer's
// graphics; the incremental form (graphics may be null) restores the title
// area from the clean caption copy first and copies it to the screen.
void drawCaptionTitle(int slot, gfx::Graphics* graphics, bool full, const std::optional<std::string>& text);

// Draws status panel `panel` (1-based), in the same two forms.
void drawStatusPanel(int slot, gfx::Graphics* graphics, bool full, int panel);

} // namespace velkaro::skin
