// The GDI+ flat functions the drawing kit uses, resolved from gdiplus.dll at
// first use instead of linked, as the engine does on Windows: a machine
// without the module (or an older one without a function) then gets a failed
// status instead of a program that does not start. Every wrapper call goes
// through this table, so a test can swap one entry for a shim.
#ifndef VELKARO_GFX_FLAT_API_H
#define VELKARO_GFX_FLAT_API_H

#include <windows.h>
#include <gdiplus.h>

#include <utility>

// X(namespace, function): every function the table holds, in one list so the
// table's fields and its loader cannot drift apart.
#define VK_GFX_FLAT_FUNCTIONS(X)                          \
    X(Gdiplus, GdiplusStartup)                            \
    X(Gdiplus, GdiplusShutdown)                           \
    X(Gdiplus::DllExports, GdipAlloc)                     \
    X(Gdiplus::DllExports, GdipFree)                      \
    X(Gdiplus::DllExports, GdipCreateFromHDC)             \
    X(Gdiplus::DllExports, GdipCreateFromHDC2)            \
    X(Gdiplus::DllExports, GdipGetImageGraphicsContext)   \
    X(Gdiplus::DllExports, GdipDeleteGraphics)            \
    X(Gdiplus::DllExports, GdipSetCompositingQuality)     \
    X(Gdiplus::DllExports, GdipSetSmoothingMode)          \
    X(Gdiplus::DllExports, GdipSetInterpolationMode)      \
    X(Gdiplus::DllExports, GdipSetPixelOffsetMode)        \
    X(Gdiplus::DllExports, GdipGraphicsClear)             \
    X(Gdiplus::DllExports, GdipDrawLine)                  \
    X(Gdiplus::DllExports, GdipDrawRectangle)             \
    X(Gdiplus::DllExports, GdipDrawPath)                  \
    X(Gdiplus::DllExports, GdipFillRectangle)             \
    X(Gdiplus::DllExports, GdipFillPath)                  \
    X(Gdiplus::DllExports, GdipDrawString)                \
    X(Gdiplus::DllExports, GdipMeasureString)             \
    X(Gdiplus::DllExports, GdipDrawImage)                 \
    X(Gdiplus::DllExports, GdipDrawImageRectRect)         \
    X(Gdiplus::DllExports, GdipSetClipPath)               \
    X(Gdiplus::DllExports, GdipSetClipRect)               \
    X(Gdiplus::DllExports, GdipResetClip)                 \
    X(Gdiplus::DllExports, GdipCreatePath)                \
    X(Gdiplus::DllExports, GdipDeletePath)                \
    X(Gdiplus::DllExports, GdipResetPath)                 \
    X(Gdiplus::DllExports, GdipClosePathFigure)           \
    X(Gdiplus::DllExports, GdipAddPathLine)               \
    X(Gdiplus::DllExports, GdipAddPathArc)                \
    X(Gdiplus::DllExports, GdipAddPathRectangle)          \
    X(Gdiplus::DllExports, GdipAddPathEllipse)            \
    X(Gdiplus::DllExports, GdipCreatePen1)                \
    X(Gdiplus::DllExports, GdipCreatePen2)                \
    X(Gdiplus::DllExports, GdipSetPenWidth)               \
    X(Gdiplus::DllExports, GdipDeletePen)                 \
    X(Gdiplus::DllExports, GdipDeleteBrush)               \
    X(Gdiplus::DllExports, GdipCloneBrush)                \
    X(Gdiplus::DllExports, GdipGetBrushType)              \
    X(Gdiplus::DllExports, GdipCreateSolidFill)           \
    X(Gdiplus::DllExports, GdipCreateLineBrush)           \
    X(Gdiplus::DllExports, GdipSetLinePresetBlend)        \
    X(Gdiplus::DllExports, GdipSetLineLinearBlend)        \
    X(Gdiplus::DllExports, GdipCreatePathGradientFromPath) \
    X(Gdiplus::DllExports, GdipSetPathGradientCenterColor) \
    X(Gdiplus::DllExports, GdipSetPathGradientSurroundColorsWithCount) \
    X(Gdiplus::DllExports, GdipSetPathGradientFocusScales) \
    X(Gdiplus::DllExports, GdipCreateTexture)             \
    X(Gdiplus::DllExports, GdipLoadImageFromFile)         \
    X(Gdiplus::DllExports, GdipLoadImageFromFileICM)      \
    X(Gdiplus::DllExports, GdipLoadImageFromStream)       \
    X(Gdiplus::DllExports, GdipLoadImageFromStreamICM)    \
    X(Gdiplus::DllExports, GdipCreateBitmapFromFile)      \
    X(Gdiplus::DllExports, GdipCreateBitmapFromFileICM)   \
    X(Gdiplus::DllExports, GdipCreateBitmapFromStream)    \
    X(Gdiplus::DllExports, GdipCreateBitmapFromStreamICM) \
    X(Gdiplus::DllExports, GdipCreateBitmapFromScan0)     \
    X(Gdiplus::DllExports, GdipCreateBitmapFromHICON)     \
    X(Gdiplus::DllExports, GdipCreateHBITMAPFromBitmap)   \
    X(Gdiplus::DllExports, GdipDisposeImage)              \
    X(Gdiplus::DllExports, GdipGetImageWidth)             \
    X(Gdiplus::DllExports, GdipGetImageHeight)            \
    X(Gdiplus::DllExports, GdipGetImageRawFormat)         \
    X(Gdiplus::DllExports, GdipBitmapGetPixel)            \
    X(Gdiplus::DllExports, GdipBitmapSetPixel)            \
    X(Gdiplus::DllExports, GdipGetImageEncodersSize)      \
    X(Gdiplus::DllExports, GdipGetImageEncoders)          \
    X(Gdiplus::DllExports, GdipSaveImageToStream)         \
    X(Gdiplus::DllExports, GdipCreateStringFormat)        \
    X(Gdiplus::DllExports, GdipDeleteStringFormat)        \
    X(Gdiplus::DllExports, GdipSetStringFormatFlags)      \
    X(Gdiplus::DllExports, GdipSetStringFormatAlign)      \
    X(Gdiplus::DllExports, GdipSetStringFormatLineAlign)  \
    X(Gdiplus::DllExports, GdipSetStringFormatTrimming)   \
    X(Gdiplus::DllExports, GdipCreateFontFamilyFromName)  \
    X(Gdiplus::DllExports, GdipDeleteFontFamily)          \
    X(Gdiplus::DllExports, GdipGetFamilyName)             \
    X(Gdiplus::DllExports, GdipCreateFont)                \
    X(Gdiplus::DllExports, GdipCreateFontFromDC)          \
    X(Gdiplus::DllExports, GdipCreateFontFromLogfontA)    \
    X(Gdiplus::DllExports, GdipDeleteFont)                \
    X(Gdiplus::DllExports, GdipGetFamily)                 \
    X(Gdiplus::DllExports, GdipGetFontStyle)              \
    X(Gdiplus::DllExports, GdipGetFontSize)               \
    X(Gdiplus::DllExports, GdipCreateRegion)              \
    X(Gdiplus::DllExports, GdipDeleteRegion)

namespace velkaro::gfx {

// One typed pointer per function, each typed from the header's declaration;
// null when the module or the function is missing.
struct FlatApi {
    HMODULE module = nullptr;
#define VK_GFX_FLAT_FIELD(ns, name) decltype(&ns::name) name = nullptr;
    VK_GFX_FLAT_FUNCTIONS(VK_GFX_FLAT_FIELD)
#undef VK_GFX_FLAT_FIELD
};

// The table, loaded at the first call. Tests may overwrite entries (and must
// put them back).
FlatApi& flatApi();

namespace detail {
inline Gdiplus::Status g_lastStatus = Gdiplus::Ok;
}

// The status of the most recent flat call made through any wrapper.
inline Gdiplus::Status lastStatus()
{
    return detail::g_lastStatus;
}

// For a call refused before it reaches GDI+ (bad arguments): the status goes
// where callers look for it, and the operation answers false.
inline bool refuseCall(Gdiplus::Status status)
{
    detail::g_lastStatus = status;
    return false;
}

// The status a call gets when its function could not be resolved: the module
// is missing (GDI+ cannot have been started), or it lacks this one function.
inline Gdiplus::Status unresolvedStatus(const FlatApi& api)
{
    return api.module ? Gdiplus::NotImplemented : Gdiplus::GdiplusNotInitialized;
}

// Calls one entry of the table and records its status in lastStatus.
template <class Fn, class... Args>
Gdiplus::Status callFlat(Fn FlatApi::*entry, Args&&... args)
{
    FlatApi& api = flatApi();
    Fn fn = api.*entry;
    Gdiplus::Status status = fn ? fn(std::forward<Args>(args)...) : unresolvedStatus(api);
    detail::g_lastStatus = status;
    return status;
}

// Same, true when the call answered Ok.
template <class Fn, class... Args>
bool callFlatOk(Fn FlatApi::*entry, Args&&... args)
{
    return callFlat(entry, std::forward<Args>(args)...) == Gdiplus::Ok;
}

// GDI+ start-up and shutdown for the engine, through the table.
bool startGdiplus(ULONG_PTR* token);
void stopGdiplus(ULONG_PTR token);

} // namespace velkaro::gfx

#endif
