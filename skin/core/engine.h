// Engine start-up and shutdown, and the engine-wide settings.
#pragma once

#include <windows.h>

#include <optional>

namespace velkaro::skin {

struct EngineSettings {
    ULONG_PTR gdiplusToken = 0;      // for shutdownGdiplus
    ULONG_PTR quitGdiplusToken = 0;  // the same token, for the WM_QUIT handling
    HICON skinIcon = nullptr;        // drawn at the left of every caption
    COLORREF skinColor = 0;          // accent of hover and focus looks
    int childSkinning = 0;           // attach routines skin child controls
    int firstSizePending = 0;        // the next WM_SIZE of any window is the first
    int defaultBackgroundLayout = 0;
    int captionBorder = 3;           // frame border width in the caption geometry
};

EngineSettings& engineSettings();

// Step 2 of the program's start: the registry and the DC cache, both empty.
void createGlobalLists();

// Starts GDI+, loads the caption icon and sets the defaults. Returns 0.
int initSkinEngine();

// With a token, shuts GDI+ down with it; without, with the stored token,
// which is cleared first. A zero token does nothing.
void shutdownGdiplus(std::optional<ULONG_PTR> token = std::nullopt);

// Frees every record and the global lists. Windows, DCs and GDI objects the
// records refer to are not touched: their windows' teardown owns them.
void releaseSkinEngine();

} // namespace velkaro::skin
