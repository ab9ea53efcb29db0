/* GDI+ pixel formats and the ARGB colour word. */
#ifndef VELKARO_GDIPLUSPIXELFORMATS_H
#define VELKARO_GDIPLUSPIXELFORMATS_H

#include <gdiplustypes.h>

namespace Gdiplus {

typedef DWORD ARGB;
typedef ULONGLONG ARGB64;
typedef INT PixelFormat;

#define ALPHA_SHIFT 24
#define RED_SHIFT 16
#define GREEN_SHIFT 8
#define BLUE_SHIFT 0
#define ALPHA_MASK ((Gdiplus::ARGB)0xff << ALPHA_SHIFT)

#define PixelFormatIndexed 0x00010000
#define PixelFormatGDI 0x00020000
#define PixelFormatAlpha 0x00040000
#define PixelFormatPAlpha 0x00080000
#define PixelFormatExtended 0x00100000
#define PixelFormatCanonical 0x00200000
#define PixelFormatUndefined 0
#define PixelFormatDontCare 0

#define PixelFormat1bppIndexed (1 | (1 << 8) | PixelFormatIndexed | PixelFormatGDI)
#define PixelFormat4bppIndexed (2 | (4 << 8) | PixelFormatIndexed | PixelFormatGDI)
#define PixelFormat8bppIndexed (3 | (8 << 8) | PixelFormatIndexed | PixelFormatGDI)
#define PixelFormat16bppGrayScale (4 | (16 << 8) | PixelFormatExtended)
#define PixelFormat16bppRGB555 (5 | (16 << 8) | PixelFormatGDI)
#define PixelFormat16bppRGB565 (6 | (16 << 8) | PixelFormatGDI)
#define PixelFormat16bppARGB1555 (7 | (16 << 8) | PixelFormatAlpha | PixelFormatGDI)
#define PixelFormat24bppRGB (8 | (24 << 8) | PixelFormatGDI)
#define PixelFormat32bppRGB (9 | (32 << 8) | PixelFormatGDI)
#define PixelFormat32bppARGB (10 | (32 << 8) | PixelFormatAlpha | PixelFormatGDI | PixelFormatCanonical)
#define PixelFormat32bppPARGB (11 | (32 << 8) | PixelFormatAlpha | PixelFormatPAlpha | PixelFormatGDI)
#define PixelFormat48bppRGB (12 | (48 << 8) | PixelFormatExtended)
#define PixelFormat64bppARGB (13 | (64 << 8) | PixelFormatAlpha | PixelFormatCanonical | PixelFormatExtended)
#define PixelFormat64bppPARGB (14 | (64 << 8) | PixelFormatAlpha | PixelFormatPAlpha | PixelFormatExtended)
#define PixelFormat32bppCMYK (15 | (32 << 8))
#define PixelFormatMax 16

inline UINT GetPixelFormatSize(PixelFormat format) { return (format >> 8) & 0xff; }
inline BOOL IsIndexedPixelFormat(PixelFormat format) { return (format & PixelFormatIndexed) != 0; }
inline BOOL IsAlphaPixelFormat(PixelFormat format) { return (format & PixelFormatAlpha) != 0; }
inline BOOL IsExtendedPixelFormat(PixelFormat format) { return (format & PixelFormatExtended) != 0; }
inline BOOL IsCanonicalPixelFormat(PixelFormat format) { return (format & PixelFormatCanonical) != 0; }

enum PaletteFlags { PaletteFlagsHasAlpha = 0x0001, PaletteFlagsGrayScale = 0x0002, PaletteFlagsHalftone = 0x0004 };

struct ColorPalette {
    UINT Flags;
    UINT Count;
    ARGB Entries[1];
};

} // namespace Gdiplus

#endif
