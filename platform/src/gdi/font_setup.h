// The fontconfig configuration and Pango font map that GDI and GDI+ text
// share: the system's fonts plus our aliases ("宋体"/"SimSun" -> the AR PL
// UMing Song face, with its embedded 12-pixel bitmaps enabled).
#pragma once

typedef struct _PangoFontMap PangoFontMap;

namespace vk::gdi {

// Loads the configuration and makes our font map Pango's default; safe to
// call any number of times, from any area, before using Pango.
void ensureFontSetup();

// The shared font map (a PangoCairo font map over our configuration).
PangoFontMap* fontMap();

} // namespace vk::gdi
