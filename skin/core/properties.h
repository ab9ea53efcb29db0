// The window properties that tie windows and controls to their records. The
// short names are the engine's wire format: other programs' windows and the
// engine's own code read them, so they never change.
#pragma once

#include <windows.h>

#include <cstdint>

namespace velkaro::skin {

// On a top-level window: its slot. On a skinned control or container: its
// position in its kind's list.
inline constexpr const char* kPropListId = "Hw_lbID";
// On a skinned control, container or scroll-bar overlay: the owner's slot.
inline constexpr const char* kPropOwnerSlot = "Hw_FuID";
// On every subclassed window except toolbars: the procedure it had before.
inline constexpr const char* kPropPrevProc = "Hw_hProc";
// The toolbar's own three.
inline constexpr const char* kPropToolbarListId = "Kj_lbID";
inline constexpr const char* kPropToolbarOwnerSlot = "Kj_FuID";
inline constexpr const char* kPropToolbarPrevProc = "Kj_hProc";
// On a toolbar: the image list it reports.
inline constexpr const char* kPropToolbarImages = "Kj_wtjb";
// On a skinned control: its text colour (absent reads as 0, black).
inline constexpr const char* kPropTextColor = "Kj_Ztys";
// On a scroll-bar overlay: the control it belongs to.
inline constexpr const char* kPropOverlayTarget = "Mngd_zct";
// On an attached window: the bitmap its frame DC held before, and the
// engine's own frame bitmap.
inline constexpr const char* kPropFrameOldBitmap = "Ck_Ycjdx";
inline constexpr const char* kPropFrameBitmap = "Ck_wtjbdx";

// Property values are 32-bit numbers (slots, positions, colours) or handles.
inline int propInt(HWND hwnd, const char* name)
{
    return int(std::int32_t(reinterpret_cast<std::intptr_t>(GetPropA(hwnd, name))));
}

inline void setPropInt(HWND hwnd, const char* name, int value)
{
    SetPropA(hwnd, name, reinterpret_cast<HANDLE>(std::intptr_t(value)));
}

inline bool hasProp(HWND hwnd, const char* name) { return GetPropA(hwnd, name) != nullptr; }

inline WNDPROC propProc(HWND hwnd, const char* name)
{
    return reinterpret_cast<WNDPROC>(GetPropA(hwnd, name));
}

inline void setPropProc(HWND hwnd, const char* name, WNDPROC proc)
{
    SetPropA(hwnd, name, reinterpret_cast<HANDLE>(proc));
}

} // namespace velkaro::skin
