// Engine texts are in the ANSI code page (UTF-8 here); GDI+ takes UTF-16.
#ifndef VELKARO_GFX_WIDE_TEXT_H
#define VELKARO_GFX_WIDE_TEXT_H

#include <windows.h>

#include <string>

namespace velkaro::gfx {

using WideString = std::basic_string<WCHAR>;

// The text up to its first NUL in UTF-16; size() is the length in UTF-16
// units (a character beyond the BMP takes two). Null gives an empty text.
WideString toWide(const char* text);
inline WideString toWide(const std::string& text)
{
    return toWide(text.c_str());
}

} // namespace velkaro::gfx

#endif
