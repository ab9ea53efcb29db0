// The Pango side of a GDI font: description, metrics and a cached layout,
// and the text measuring and drawing every text function shares.
#pragma once

#include "gdi/raster.h"

#include <pango/pangocairo.h>

#include <string>
#include <vector>

namespace vk::gdi {

struct FontImpl {
    ~FontImpl();
    PangoFontDescription* desc = nullptr;
    PangoAttrList* attrs = nullptr; // underline / strike-out
    PangoContext* context = nullptr; // shared; not owned
    PangoLayout* layout = nullptr;   // reused for every call on this font
    std::string face;                // the face in use (GetTextFaceA)
    int emPx = 12;
    int ascent = 0, descent = 0, height = 0;
    int aveCharWidth = 0, maxCharWidth = 0;
    bool antialias = false;
};

// The font's Pango side, made on first use.
FontImpl& fontImpl(FontObj& f);
// The font selected into a DC (the system font when none is valid).
FontImpl& dcFont(DcObj& dc);

// Valid UTF-8 for Pango: invalid bytes become '?', so byte counts stay the same.
std::string cleanUtf8(const char* s, int len);

// Sets the layout's text (with per-call character spacing) and returns it.
PangoLayout* layoutFor(FontImpl& f, const std::string& text, int charExtra);

// Width of text in pixels and the font's height.
SIZE textExtent(FontImpl& f, const std::string& text, int charExtra);

// Draws text with its layout box's top-left corner at (x, y), surface
// coordinates, in colour; clip narrows the target's clip when given.
// Returns the drawn box.
RECT drawTextAt(Target& t, FontImpl& f, const std::string& text, int x, int y, uint32_t color, int charExtra,
                const Region* clip);

} // namespace vk::gdi
