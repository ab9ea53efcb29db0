// GdipDrawString and GdipMeasureString: GDI+ string layout in a rectangle
// through Pango. Drawing and measuring build the same layout, so what is
// measured is what is drawn.
#include "gdiplus/canvas.h"
#include "gdiplus/objects.h"
#include "gdiplus/status.h"

#include <pango/pangocairo.h>

#include <algorithm>
#include <cmath>

namespace vk::gdiplus {
void ensureFonts();
}

using namespace Gdiplus;
using namespace vk::gdiplus;

namespace {

struct LayoutRelease {
    void operator()(PangoLayout* l) const { g_object_unref(l); }
};
using LayoutPtr = std::unique_ptr<PangoLayout, LayoutRelease>;

struct PlacedText {
    LayoutPtr layout;
    double x = 0, y = 0;      // top-left of the layout box in world coordinates
    double width = 0, height = 0; // of the text as laid out, padding included
    double padding = 0;
    int lines = 0;
    int fitted = 0; // UTF-16 units shown
};

void setFontOptions(PangoContext* ctx, TextRenderingHint hint)
{
    cairo_font_options_t* opts = cairo_font_options_create();
    bool aliased = hint == TextRenderingHintSingleBitPerPixelGridFit || hint == TextRenderingHintSingleBitPerPixel;
    cairo_font_options_set_antialias(opts, aliased ? CAIRO_ANTIALIAS_NONE : CAIRO_ANTIALIAS_GRAY);
    cairo_font_options_set_hint_style(opts, hint == TextRenderingHintSingleBitPerPixelGridFit ? CAIRO_HINT_STYLE_FULL
                                            : hint == TextRenderingHintAntiAliasGridFit       ? CAIRO_HINT_STYLE_SLIGHT
                                                                                              : CAIRO_HINT_STYLE_NONE);
    // Unhinted metrics keep measured and drawn widths equal under any transform.
    cairo_font_options_set_hint_metrics(opts, CAIRO_HINT_METRICS_OFF);
    pango_cairo_context_set_font_options(ctx, opts);
    cairo_font_options_destroy(opts);
}

// UTF-8 byte offset -> UTF-16 units before it.
int utf16Units(const std::string& utf8, int byteOffset)
{
    int units = 0;
    for (int i = 0; i < byteOffset && i < int(utf8.size()); ++i) {
        uint8_t b = uint8_t(utf8[i]);
        if ((b & 0xc0) == 0x80)
            continue;
        units += (b >= 0xf0) ? 2 : 1;
    }
    return units;
}

PlacedText layoutString(cairo_t* cr, const Graphics* g, const std::string& text, const Font& font,
                        const StringFormat* fmt, const RectF& rect)
{
    PlacedText out;
    out.layout.reset(pango_cairo_create_layout(cr));
    PangoLayout* layout = out.layout.get();
    setFontOptions(pango_layout_get_context(layout), g ? g->textHint : TextRenderingHintSystemDefault);
    pango_layout_context_changed(layout);

    double px = fontPixelSize(font, 96.0f);
    PangoFontDescription* desc = pango_font_description_new();
    pango_font_description_set_family(desc, font.fcFamily.c_str());
    pango_font_description_set_absolute_size(desc, px * PANGO_SCALE);
    pango_font_description_set_weight(desc, (font.style & FontStyleBold) ? PANGO_WEIGHT_BOLD : PANGO_WEIGHT_NORMAL);
    pango_font_description_set_style(desc, (font.style & FontStyleItalic) ? PANGO_STYLE_ITALIC : PANGO_STYLE_NORMAL);
    pango_layout_set_font_description(layout, desc);
    pango_font_description_free(desc);

    PangoAttrList* attrs = pango_attr_list_new();
    if (font.style & FontStyleUnderline)
        pango_attr_list_insert(attrs, pango_attr_underline_new(PANGO_UNDERLINE_SINGLE));
    if (font.style & FontStyleStrikeout)
        pango_attr_list_insert(attrs, pango_attr_strikethrough_new(TRUE));
    pango_layout_set_attributes(layout, attrs);
    pango_attr_list_unref(attrs);
    pango_layout_set_text(layout, text.c_str(), int(text.size()));

    int flags = fmt ? fmt->flags : 0;
    StringAlignment align = fmt ? fmt->align : StringAlignmentNear;
    StringAlignment lineAlign = fmt ? fmt->lineAlign : StringAlignmentNear;
    StringTrimming trimming = fmt ? fmt->trimming : StringTrimmingCharacter;
    bool noWrap = flags & StringFormatFlagsNoWrap;
    // The generic default format pads each side by a sixth of the em.
    out.padding = (fmt && fmt->typographic) ? 0.0 : px / 6.0;
    bool boundedW = rect.Width > 0, boundedH = rect.Height > 0;
    double boxWidth = std::max(0.0, rect.Width - 2 * out.padding);

    bool ellipsis = trimming == StringTrimmingEllipsisCharacter || trimming == StringTrimmingEllipsisWord ||
                    trimming == StringTrimmingEllipsisPath;
    if (boundedW && (!noWrap || ellipsis))
        pango_layout_set_width(layout, int(boxWidth * PANGO_SCALE));
    pango_layout_set_wrap(layout, PANGO_WRAP_WORD_CHAR);
    if (ellipsis && boundedW) {
        pango_layout_set_ellipsize(layout, trimming == StringTrimmingEllipsisPath ? PANGO_ELLIPSIZE_MIDDLE
                                                                                  : PANGO_ELLIPSIZE_END);
        if (noWrap)
            pango_layout_set_height(layout, -1);
        else if (boundedH)
            pango_layout_set_height(layout, int(rect.Height * PANGO_SCALE));
    }
    if (boundedW && (!noWrap || ellipsis))
        pango_layout_set_alignment(layout, align == StringAlignmentCenter ? PANGO_ALIGN_CENTER
                                           : align == StringAlignmentFar  ? PANGO_ALIGN_RIGHT
                                                                          : PANGO_ALIGN_LEFT);

    PangoRectangle ink, logical;
    pango_layout_get_extents(layout, &ink, &logical);
    double textW = logical.width / double(PANGO_SCALE);
    double textH = logical.height / double(PANGO_SCALE);
    out.lines = pango_layout_get_line_count(layout);

    // Lines that fit: with LineLimit only whole lines show.
    if (boundedH) {
        int shown = 0;
        double bottom = 0;
        PangoLayoutIter* it = pango_layout_get_iter(layout);
        do {
            PangoRectangle lr;
            pango_layout_iter_get_line_extents(it, nullptr, &lr);
            double lineBottom = (lr.y + lr.height) / double(PANGO_SCALE);
            double lineTop = lr.y / double(PANGO_SCALE);
            bool whole = lineBottom <= rect.Height + 0.01;
            bool partly = lineTop < rect.Height;
            if ((flags & StringFormatFlagsLineLimit) ? whole : partly) {
                ++shown;
                bottom = lineBottom;
            }
        } while (pango_layout_iter_next_line(it));
        pango_layout_iter_free(it);
        if (shown < out.lines) {
            out.lines = shown;
            textH = bottom;
        }
    }
    out.fitted = utf16Units(text, int(text.size()));
    if (out.lines < pango_layout_get_line_count(layout)) {
        PangoLayoutLine* last = out.lines > 0 ? pango_layout_get_line_readonly(layout, out.lines - 1) : nullptr;
        out.fitted = last ? utf16Units(text, last->start_index + last->length) : 0;
    }

    double fullW = textW + 2 * out.padding;
    out.width = boundedW ? std::min(fullW, double(rect.Width)) : fullW;
    out.height = boundedH ? std::min(textH, double(rect.Height)) : textH;

    // Where the layout's left edge goes. Within a bounded width Pango aligns
    // lines itself; a point (no width) is the anchor of the alignment.
    if (boundedW && (!noWrap || ellipsis)) {
        out.x = rect.X + out.padding - logical.x / double(PANGO_SCALE) * 0;
    } else {
        double avail = boundedW ? rect.Width : 0.0;
        double left = align == StringAlignmentCenter ? (avail - fullW) / 2 : align == StringAlignmentFar ? avail - fullW : 0;
        out.x = rect.X + left + out.padding;
    }
    double availH = boundedH ? rect.Height : 0.0;
    double top = lineAlign == StringAlignmentCenter ? (availH - textH) / 2 : lineAlign == StringAlignmentFar ? availH - textH : 0;
    out.y = rect.Y + top;
    return out;
}

bool validRect(const RectF* r)
{
    return r && std::isfinite(r->X) && std::isfinite(r->Y) && std::isfinite(r->Width) && std::isfinite(r->Height);
}

} // namespace

extern "C" {

GpStatus WINGDIPAPI Gdiplus::DllExports::GdipDrawString(GpGraphics* graphics, GDIPCONST WCHAR* string, INT length,
                                                        GDIPCONST GpFont* font, GDIPCONST RectF* layoutRect,
                                                        GDIPCONST GpStringFormat* stringFormat, GDIPCONST GpBrush* brush)
{
    VK_GDIP_LOCK();
    Graphics* g = lookupAs<Graphics>(graphics);
    Font* f = lookupAs<Font>(font);
    Brush* b = lookupAs<Brush>(brush);
    StringFormat* fmt = stringFormat ? lookupAs<StringFormat>(stringFormat) : nullptr;
    if (!g || !string || !f || !b || !validRect(layoutRect) || (stringFormat && !fmt) || length < -1)
        return refuse(InvalidParameter);
    ensureFonts();
    std::string text = toUtf8(string, length);
    if (text.empty())
        return Ok;
    const RectF rect = *layoutRect;
    Status st = paintOn(*g, [&](cairo_t* cr, TouchedBox& box) {
        // Glyphs go where the layout puts them, not half a pixel off.

        cairo_identity_matrix(cr);
        cairo_transform(cr, &g->world);
        PlacedText placed = layoutString(cr, g, text, *f, fmt, rect);
        bool noClip = fmt && (fmt->flags & StringFormatFlagsNoClip);
        if (!noClip && (rect.Width > 0 || rect.Height > 0)) {
            double w = rect.Width > 0 ? rect.Width : 1e7, h = rect.Height > 0 ? rect.Height : 1e7;
            double x = rect.Width > 0 ? rect.X : rect.X - 5e6, y = rect.Height > 0 ? rect.Y : rect.Y - 5e6;
            cairo_rectangle(cr, x, y, w, h);
            cairo_clip(cr);
        }
        setBrushSource(cr, *g, *b);
        cairo_move_to(cr, placed.x, placed.y);
        PangoRectangle ink;
        pango_layout_get_pixel_extents(placed.layout.get(), &ink, nullptr);
        box.addUser(cr, placed.x + ink.x - 2, placed.y + ink.y - 2, placed.x + ink.x + ink.width + 2,
                    placed.y + ink.y + ink.height + 2);
        pango_cairo_show_layout(cr, placed.layout.get());
    });
    return st == Ok ? Ok : refuse(st);
}

GpStatus WINGDIPAPI Gdiplus::DllExports::GdipMeasureString(GpGraphics* graphics, GDIPCONST WCHAR* string, INT length,
                                                           GDIPCONST GpFont* font, GDIPCONST RectF* layoutRect,
                                                           GDIPCONST GpStringFormat* stringFormat, RectF* boundingBox,
                                                           INT* codepointsFitted, INT* linesFilled)
{
    VK_GDIP_LOCK();
    Graphics* g = lookupAs<Graphics>(graphics);
    Font* f = lookupAs<Font>(font);
    StringFormat* fmt = stringFormat ? lookupAs<StringFormat>(stringFormat) : nullptr;
    if (!g || !string || !f || !validRect(layoutRect) || !boundingBox || (stringFormat && !fmt) || length < -1)
        return refuse(InvalidParameter);
    ensureFonts();
    std::string text = toUtf8(string, length);
    SurfacePtr s(cairo_image_surface_create(CAIRO_FORMAT_A8, 1, 1));
    ContextPtr cr(cairo_create(s.get()));
    cairo_transform(cr.get(), &g->world);
    if (text.empty()) {
        *boundingBox = RectF(layoutRect->X, layoutRect->Y, 0, 0);
        if (codepointsFitted)
            *codepointsFitted = 0;
        if (linesFilled)
            *linesFilled = 0;
        return Ok;
    }
    PlacedText placed = layoutString(cr.get(), g, text, *f, fmt, *layoutRect);
    double x = placed.x - placed.padding;
    bool wrappedByPango = layoutRect->Width > 0 && pango_layout_get_width(placed.layout.get()) > 0;
    if (wrappedByPango) {
        // Pango aligned the lines inside the box: the box of the text follows them.
        PangoRectangle logical;
        pango_layout_get_pixel_extents(placed.layout.get(), nullptr, &logical);
        x = placed.x + logical.x - placed.padding;
    }
    *boundingBox = RectF(REAL(x), REAL(placed.y), REAL(placed.width), REAL(placed.height));
    if (codepointsFitted)
        *codepointsFitted = placed.fitted;
    if (linesFilled)
        *linesFilled = placed.lines;
    return Ok;
}

} // extern "C"
