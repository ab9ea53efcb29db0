// The objects behind the opaque pointers of the flat interface.
#pragma once

#include <gdiplus.h>

#include "gdiplus/cairo_owner.h"
#include "gdiplus/live_objects.h"

#include <cstring>
#include <memory>
#include <string>
#include <vector>

namespace vk::gdiplus {

namespace gp = Gdiplus;

inline bool sameGuid(const GUID& a, const GUID& b)
{
    return std::memcmp(&a, &b, sizeof(GUID)) == 0;
}

inline void setSourceArgb(cairo_t* cr, gp::ARGB c)
{
    cairo_set_source_rgba(cr, ((c >> 16) & 0xff) / 255.0, ((c >> 8) & 0xff) / 255.0, (c & 0xff) / 255.0, (c >> 24) / 255.0);
}

// --- Paths -----------------------------------------------------------------

struct PathData {
    std::vector<gp::PointF> points;
    std::vector<uint8_t> types;
    gp::FillMode fillMode = gp::FillModeAlternate;
    bool figureOpen = false; // the next point continues the last figure

    // Adds the first point of a piece of outline: it starts a figure, or is
    // joined to the open figure by a straight edge.
    void moveOrLineTo(gp::PointF p);
    void lineTo(gp::PointF p);
    void bezierTo(gp::PointF c1, gp::PointF c2, gp::PointF end);
    void closeFigure();
    void startFigure() { figureOpen = false; }
    void addArc(float x, float y, float w, float h, float startDeg, float sweepDeg);
    void addRectangle(float x, float y, float w, float h);
    void addEllipse(float x, float y, float w, float h);
    void transform(const cairo_matrix_t& m);
    bool empty() const { return points.empty(); }
};

// Sends the path's figures to a Cairo context (the current transform applies).
void appendPath(cairo_t* cr, const PathData& path);
// The area centroid of the path's figures (their mean point when flat).
gp::PointF polygonCentroid(const PathData& path);
// Figures as polygons (curves flattened), for path gradients.
std::vector<std::vector<gp::PointF>> flattenPath(const PathData& path);

struct Path : Object {
    static constexpr Kind kKind = Kind::Path;
    Path() : Object(kKind) {}
    PathData data;
};

// --- Regions ---------------------------------------------------------------

struct RegionData;

struct RegionPart {
    enum class Shape { Infinite, Empty, Rect, Path, Nested };
    gp::CombineMode mode = gp::CombineModeReplace;
    Shape shape = Shape::Infinite;
    gp::RectF rect;
    PathData path;
    std::shared_ptr<RegionData> nested; // another region combined as a whole
};

// A region as the sequence of combinations that built it; it is rasterised
// into a mask only where pixels are needed.
struct RegionData {
    std::vector<RegionPart> parts{RegionPart{}};

    void setInfinite() { parts.assign(1, RegionPart{}); }
    void setEmpty();
    void combine(RegionPart part);
    void combine(const RegionData& other, gp::CombineMode mode);
    void transform(const cairo_matrix_t& m);
    bool isInfinite() const;
    bool isEmpty() const;
    bool contains(double x, double y) const;
    // Bounds of what may be inside (exact for rectangles).
    gp::RectF bounds() const;
    // True when the region is one axis-aligned rectangle (or infinite); fills r.
    bool asRect(gp::RectF& r, bool& infinite) const;
    // An A8 mask of the pixels whose centres lie inside, pixel centres at
    // (x + 0.5 - offset, y + 0.5 - offset) in region coordinates.
    SurfacePtr rasterize(int width, int height, double offset) const;
    void rasterizeInto(cairo_surface_t* acc, double offset) const;
};

struct Region : Object {
    static constexpr Kind kKind = Kind::Region;
    Region() : Object(kKind) {}
    RegionData data;
};

// --- Images ----------------------------------------------------------------

struct Bitmap : Object {
    static constexpr Kind kKind = Kind::Image;
    Bitmap() : Object(kKind) {}

    int width = 0;
    int height = 0;
    gp::PixelFormat format = PixelFormat32bppARGB;
    int stride = 0;
    uint8_t* scan0 = nullptr;
    std::unique_ptr<uint8_t[]> owned;
    bool userMemory = false;
    GUID rawFormat = gp::ImageFormatMemoryBMP;
    float dpiX = 96.0f;
    float dpiY = 96.0f;
    // Bumped on every change made through GDI+, so drawing caches know when to refresh.
    uint64_t version = 1;
    // Premultiplied copy for drawing the bitmap elsewhere, valid for cacheVersion.
    mutable SurfacePtr cache;
    mutable uint64_t cacheVersion = 0;

    struct Lock {
        bool active = false;
        gp::Rect rect;
        UINT flags = 0;
        gp::PixelFormat format = 0;
        std::unique_ptr<uint8_t[]> buffer; // null when the caller works on our rows directly
        void* scan0 = nullptr;
        int stride = 0;
    } lock;

    uint8_t* row(int y) const { return scan0 + ptrdiff_t(y) * stride; }
    uint8_t* at(int x, int y) const;
    uint32_t getArgb(int x, int y) const;
    void setArgb(int x, int y, uint32_t argb);
};

// Largest picture we allocate: beyond it calls answer OutOfMemory before allocating.
constexpr uint64_t kMaxPixels = 64ull * 1024 * 1024;

// A new bitmap with its own zeroed memory; null with status set when refused.
std::unique_ptr<Bitmap> newBitmap(int width, int height, gp::PixelFormat format, gp::Status& status);
std::unique_ptr<Bitmap> cloneBitmap(const Bitmap& src, gp::Status& status);
// A premultiplied ARGB32 Cairo surface holding a copy of the bitmap's pixels.
SurfacePtr bitmapToSurface(const Bitmap& bitmap);
// The same, kept with the bitmap until it changes (caller memory is always re-read).
cairo_surface_t* cachedSurface(const Bitmap& bitmap);

// --- Brushes and pens ----------------------------------------------------

struct Brush : Object {
    static constexpr Kind kKind = Kind::Brush;
    explicit Brush(gp::BrushType t) : Object(kKind), type(t) {}
    gp::BrushType type;
    virtual std::unique_ptr<Brush> clone() const = 0;
    // The Cairo source for this brush, in world coordinates.
    virtual PatternPtr pattern() const = 0;
};

struct SolidBrush : Brush {
    SolidBrush() : Brush(gp::BrushTypeSolidColor) {}
    gp::ARGB color = 0;
    std::unique_ptr<Brush> clone() const override { return std::make_unique<SolidBrush>(*this); }
    PatternPtr pattern() const override;
};

struct LineBrush : Brush {
    LineBrush() : Brush(gp::BrushTypeLinearGradient) {}
    gp::PointF start, end;       // in pattern space
    cairo_matrix_t toPattern{1, 0, 0, 1, 0, 0}; // world to pattern space
    gp::ARGB colors[2] = {0, 0};
    gp::WrapMode wrap = gp::WrapModeTile;
    gp::RectF rect;
    std::vector<gp::ARGB> presetColors; // interpolation colours, when set
    std::vector<float> presetPositions;
    std::vector<float> blendFactors; // blend between the two colours, when set
    std::vector<float> blendPositions;
    std::unique_ptr<Brush> clone() const override { return std::make_unique<LineBrush>(*this); }
    PatternPtr pattern() const override;
};

struct PathGradientBrush : Brush {
    PathGradientBrush() : Brush(gp::BrushTypePathGradient) {}
    PathData boundary;
    gp::ARGB centerColor = 0xffffffff;
    gp::PointF center;
    std::vector<gp::ARGB> surround{0xffffffff};
    float focusX = 0.0f;
    float focusY = 0.0f;
    gp::WrapMode wrap = gp::WrapModeClamp;
    std::unique_ptr<Brush> clone() const override { return std::make_unique<PathGradientBrush>(*this); }
    PatternPtr pattern() const override;
};

struct TextureBrush : Brush {
    TextureBrush() : Brush(gp::BrushTypeTextureFill) {}
    TextureBrush(const TextureBrush& o);
    std::unique_ptr<Bitmap> image;
    gp::WrapMode wrap = gp::WrapModeTile;
    cairo_matrix_t transform{1, 0, 0, 1, 0, 0};
    std::unique_ptr<Brush> clone() const override { return std::make_unique<TextureBrush>(*this); }
    PatternPtr pattern() const override;
};

struct Pen : Object {
    static constexpr Kind kKind = Kind::Pen;
    Pen() : Object(kKind) {}
    Pen(const Pen& o);
    float width = 1.0f;
    gp::Unit unit = gp::UnitWorld;
    std::unique_ptr<Brush> brush;
    gp::LineJoin join = gp::LineJoinMiter;
    gp::LineCap startCap = gp::LineCapFlat;
    gp::LineCap endCap = gp::LineCapFlat;
    gp::DashStyle dash = gp::DashStyleSolid;
};

// --- Text ------------------------------------------------------------------

struct FontFamily : Object {
    static constexpr Kind kKind = Kind::FontFamily;
    FontFamily() : Object(kKind) {}
    std::u16string name;  // as the caller named it
    std::string fcFamily; // the family fontconfig and Pango know
};

struct Font : Object {
    static constexpr Kind kKind = Kind::Font;
    Font() : Object(kKind) {}
    std::u16string familyName;
    std::string fcFamily;
    float size = 0.0f;
    int style = 0;
    gp::Unit unit = gp::UnitPoint;
};

struct StringFormat : Object {
    static constexpr Kind kKind = Kind::StringFormat;
    StringFormat() : Object(kKind) {}
    int flags = 0;
    LANGID language = 0;
    gp::StringAlignment align = gp::StringAlignmentNear;
    gp::StringAlignment lineAlign = gp::StringAlignmentNear;
    gp::StringTrimming trimming = gp::StringTrimmingCharacter;
    int hotkeyPrefix = gp::HotkeyPrefixNone;
    bool typographic = false; // no side padding
};

// --- Graphics --------------------------------------------------------------

struct Graphics : Object {
    static constexpr Kind kKind = Kind::Graphics;
    Graphics() : Object(kKind) {}

    const void* image = nullptr; // the GpImage drawn on, or null
    HDC dc = nullptr;            // the DC drawn on, or null

    gp::CompositingMode compositingMode = gp::CompositingModeSourceOver;
    gp::CompositingQuality compositingQuality = gp::CompositingQualityDefault;
    gp::SmoothingMode smoothing = gp::SmoothingModeNone;
    gp::InterpolationMode interpolation = gp::InterpolationModeBilinear;
    gp::PixelOffsetMode pixelOffset = gp::PixelOffsetModeDefault;
    gp::TextRenderingHint textHint = gp::TextRenderingHintSystemDefault;
    cairo_matrix_t world{1, 0, 0, 1, 0, 0};
    RegionData clip; // device coordinates

    // Premultiplied copy of a bitmap target, refreshed when the bitmap changed.
    SurfacePtr work;
    uint64_t workVersion = 0;
    SurfacePtr clipMask;
    bool clipMaskValid = false;
};

// Text helpers shared by fonts and drawing.
std::string toUtf8(const WCHAR* s, int length);
std::u16string toU16(const WCHAR* s);
float fontPixelSize(const Font& font, float dpi);

} // namespace vk::gdiplus

namespace vk::gdiplus {
RegionPart pathRegionPart(const PathData& path, gp::CombineMode mode);
RegionPart rectRegionPart(const gp::RectF& r, gp::CombineMode mode);
} // namespace vk::gdiplus
