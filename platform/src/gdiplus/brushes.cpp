// Brushes: solid colours, linear and path gradients, textures; each turns
// into a Cairo source in world coordinates.
#include "gdiplus/objects.h"
#include "gdiplus/pixels.h"
#include "gdiplus/status.h"

#include <cmath>

namespace vk::gdiplus {

namespace {

void addStop(cairo_pattern_t* p, double offset, gp::ARGB c)
{
    cairo_pattern_add_color_stop_rgba(p, offset, ((c >> 16) & 0xff) / 255.0, ((c >> 8) & 0xff) / 255.0,
                                      (c & 0xff) / 255.0, (c >> 24) / 255.0);
}

gp::ARGB lerpArgb(gp::ARGB a, gp::ARGB b, float t)
{
    t = std::fmax(0.0f, std::fmin(1.0f, t));
    gp::ARGB out = 0;
    for (int shift = 0; shift < 32; shift += 8) {
        float ca = float((a >> shift) & 0xff), cb = float((b >> shift) & 0xff);
        out |= gp::ARGB(std::lround(ca + (cb - ca) * t)) << shift;
    }
    return out;
}

struct ColoredPoint {
    gp::PointF p;
    gp::ARGB color;
};

// The boundary polygon of a path gradient with a colour at each vertex: the
// surround colours belong to the path's points, curves in between take
// colours interpolated along them.
std::vector<ColoredPoint> coloredBoundary(const PathGradientBrush& b)
{
    std::vector<ColoredPoint> out;
    const auto& pts = b.boundary.points;
    const auto& types = b.boundary.types;
    auto colorOf = [&](size_t i) { return b.surround.size() == 1 ? b.surround[0] : b.surround[std::min(i, b.surround.size() - 1)]; };
    constexpr int kSteps = 16;
    for (size_t i = 0; i < pts.size(); ++i) {
        uint8_t t = types[i] & gp::PathPointTypePathTypeMask;
        if (t == gp::PathPointTypeStart && !out.empty())
            break; // one figure bounds the brush
        if (t == gp::PathPointTypeBezier && i + 2 < pts.size() && !out.empty()) {
            ColoredPoint start = out.back();
            const gp::PointF &c1 = pts[i], &c2 = pts[i + 1], &e = pts[i + 2];
            gp::ARGB endColor = colorOf(i + 2);
            for (int s = 1; s <= kSteps; ++s) {
                float u = float(s) / kSteps, v = 1 - u;
                float x = v * v * v * start.p.X + 3 * v * v * u * c1.X + 3 * v * u * u * c2.X + u * u * u * e.X;
                float y = v * v * v * start.p.Y + 3 * v * v * u * c1.Y + 3 * v * u * u * c2.Y + u * u * u * e.Y;
                out.push_back({{x, y}, lerpArgb(start.color, endColor, u)});
            }
            i += 2;
        } else {
            out.push_back({pts[i], colorOf(i)});
        }
    }
    if (out.size() > 1 && out.front().p.X == out.back().p.X && out.front().p.Y == out.back().p.Y)
        out.pop_back();
    return out;
}

void meshCorner(cairo_pattern_t* mesh, unsigned corner, gp::ARGB c)
{
    cairo_mesh_pattern_set_corner_color_rgba(mesh, corner, ((c >> 16) & 0xff) / 255.0, ((c >> 8) & 0xff) / 255.0,
                                             (c & 0xff) / 255.0, (c >> 24) / 255.0);
}

} // namespace

gp::PointF polygonCentroid(const PathData& path)
{
    auto figures = flattenPath(path);
    double area = 0, cx = 0, cy = 0, sx = 0, sy = 0;
    size_t count = 0;
    for (const auto& f : figures) {
        for (size_t i = 0; i < f.size(); ++i) {
            const gp::PointF &a = f[i], &b = f[(i + 1) % f.size()];
            double cross = double(a.X) * b.Y - double(b.X) * a.Y;
            area += cross;
            cx += (a.X + b.X) * cross;
            cy += (a.Y + b.Y) * cross;
            sx += a.X;
            sy += a.Y;
            ++count;
        }
    }
    if (std::fabs(area) > 1e-9)
        return {float(cx / (3 * area)), float(cy / (3 * area))};
    if (count)
        return {float(sx / count), float(sy / count)};
    return {};
}

PatternPtr SolidBrush::pattern() const
{
    return PatternPtr(cairo_pattern_create_rgba(((color >> 16) & 0xff) / 255.0, ((color >> 8) & 0xff) / 255.0,
                                                (color & 0xff) / 255.0, (color >> 24) / 255.0));
}

PatternPtr LineBrush::pattern() const
{
    PatternPtr p(cairo_pattern_create_linear(start.X, start.Y, end.X, end.Y));
    if (!presetColors.empty()) {
        for (size_t i = 0; i < presetColors.size(); ++i)
            addStop(p.get(), presetPositions[i], presetColors[i]);
    } else if (!blendFactors.empty()) {
        for (size_t i = 0; i < blendFactors.size(); ++i)
            addStop(p.get(), blendPositions[i], lerpArgb(colors[0], colors[1], blendFactors[i]));
    } else {
        addStop(p.get(), 0.0, colors[0]);
        addStop(p.get(), 1.0, colors[1]);
    }
    cairo_pattern_set_extend(p.get(), wrap == gp::WrapModeTile ? CAIRO_EXTEND_REPEAT : CAIRO_EXTEND_REFLECT);
    cairo_pattern_set_matrix(p.get(), &toPattern);
    return p;
}

PatternPtr PathGradientBrush::pattern() const
{
    std::vector<ColoredPoint> ring = coloredBoundary(*this);
    PatternPtr mesh(cairo_pattern_create_mesh());
    if (ring.size() < 3)
        return mesh;
    auto inner = [&](const gp::PointF& p) {
        return gp::PointF(center.X + (p.X - center.X) * focusX, center.Y + (p.Y - center.Y) * focusY);
    };
    bool focus = focusX != 0.0f || focusY != 0.0f;
    for (size_t i = 0; i < ring.size(); ++i) {
        const ColoredPoint& a = ring[i];
        const ColoredPoint& b = ring[(i + 1) % ring.size()];
        gp::PointF qa = inner(a.p), qb = inner(b.p);
        // Between the focus outline and the boundary the colour runs from the
        // centre colour to the surround colours.
        cairo_mesh_pattern_begin_patch(mesh.get());
        cairo_mesh_pattern_move_to(mesh.get(), qa.X, qa.Y);
        cairo_mesh_pattern_line_to(mesh.get(), a.p.X, a.p.Y);
        cairo_mesh_pattern_line_to(mesh.get(), b.p.X, b.p.Y);
        cairo_mesh_pattern_line_to(mesh.get(), qb.X, qb.Y);
        meshCorner(mesh.get(), 0, centerColor);
        meshCorner(mesh.get(), 1, a.color);
        meshCorner(mesh.get(), 2, b.color);
        meshCorner(mesh.get(), 3, centerColor);
        cairo_mesh_pattern_end_patch(mesh.get());
        if (focus) {
            // Inside the focus outline the centre colour is solid.
            cairo_mesh_pattern_begin_patch(mesh.get());
            cairo_mesh_pattern_move_to(mesh.get(), center.X, center.Y);
            cairo_mesh_pattern_line_to(mesh.get(), qa.X, qa.Y);
            cairo_mesh_pattern_line_to(mesh.get(), qb.X, qb.Y);
            for (unsigned c = 0; c < 4; ++c)
                meshCorner(mesh.get(), c, centerColor);
            cairo_mesh_pattern_end_patch(mesh.get());
        }
    }
    return mesh;
}

TextureBrush::TextureBrush(const TextureBrush& o) : Brush(gp::BrushTypeTextureFill), wrap(o.wrap), transform(o.transform)
{
    gp::Status st = gp::Ok;
    if (o.image)
        image = cloneBitmap(*o.image, st);
}

PatternPtr TextureBrush::pattern() const
{
    if (!image)
        return PatternPtr(cairo_pattern_create_rgba(0, 0, 0, 0));
    SurfacePtr src = bitmapToSurface(*image);
    if (!src)
        return PatternPtr(cairo_pattern_create_rgba(0, 0, 0, 0));
    bool fx = wrap == gp::WrapModeTileFlipX || wrap == gp::WrapModeTileFlipXY;
    bool fy = wrap == gp::WrapModeTileFlipY || wrap == gp::WrapModeTileFlipXY;
    SurfacePtr tile;
    if (fx || fy) {
        // One tile holds the picture and its mirror images, repeated as a whole.
        int w = image->width, h = image->height;
        tile.reset(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, w * (fx ? 2 : 1), h * (fy ? 2 : 1)));
        ContextPtr cr(cairo_create(tile.get()));
        for (int ty = 0; ty < (fy ? 2 : 1); ++ty)
            for (int tx = 0; tx < (fx ? 2 : 1); ++tx) {
                cairo_save(cr.get());
                cairo_translate(cr.get(), tx ? 2.0 * w : 0.0, ty ? 2.0 * h : 0.0);
                cairo_scale(cr.get(), tx ? -1 : 1, ty ? -1 : 1);
                cairo_set_source_surface(cr.get(), src.get(), 0, 0);
                cairo_pattern_set_filter(cairo_get_source(cr.get()), CAIRO_FILTER_NEAREST);
                cairo_paint(cr.get());
                cairo_restore(cr.get());
            }
    } else {
        tile = std::move(src);
    }
    PatternPtr p(cairo_pattern_create_for_surface(tile.get()));
    cairo_pattern_set_extend(p.get(), wrap == gp::WrapModeClamp ? CAIRO_EXTEND_NONE : CAIRO_EXTEND_REPEAT);
    cairo_matrix_t inv = transform;
    if (cairo_matrix_invert(&inv) == CAIRO_STATUS_SUCCESS)
        cairo_pattern_set_matrix(p.get(), &inv);
    return p;
}

} // namespace vk::gdiplus

using namespace Gdiplus;
using namespace vk::gdiplus;

namespace {

template <class T>
T* brushAs(const void* h, BrushType type)
{
    Brush* b = lookupAs<Brush>(h);
    if (!b || b->type != type)
        return nullptr;
    return static_cast<T*>(b);
}

template <class H>
Status publishBrush(std::unique_ptr<Brush> b, H** out)
{
    void* h = publish(std::move(b));
    if (!h)
        return refuse(OutOfMemory);
    *out = static_cast<H*>(h);
    return Ok;
}

bool validLineWrap(WrapMode w)
{
    return w == WrapModeTile || w == WrapModeTileFlipX || w == WrapModeTileFlipY || w == WrapModeTileFlipXY;
}

bool validWrap(WrapMode w)
{
    return validLineWrap(w) || w == WrapModeClamp;
}

Status makeLineBrush(const PointF& p1, const PointF& p2, ARGB c1, ARGB c2, WrapMode wrap, GpLineGradient** out)
{
    if (!out)
        return refuse(InvalidParameter);
    *out = nullptr;
    if (!started())
        return refuse(GdiplusNotInitialized);
    if (!validLineWrap(wrap))
        return refuse(InvalidParameter);
    // Coinciding points give no direction; GDI+ answers OutOfMemory here.
    if (p1.X == p2.X && p1.Y == p2.Y)
        return refuse(OutOfMemory);
    auto b = std::make_unique<LineBrush>();
    b->start = p1;
    b->end = p2;
    b->colors[0] = c1;
    b->colors[1] = c2;
    b->wrap = wrap;
    b->rect = RectF(std::fmin(p1.X, p2.X), std::fmin(p1.Y, p2.Y), std::fabs(p2.X - p1.X), std::fabs(p2.Y - p1.Y));
    return publishBrush(std::move(b), out);
}

Status makeLineBrushFromRect(const RectF& r, ARGB c1, ARGB c2, LinearGradientMode mode, WrapMode wrap,
                             GpLineGradient** out)
{
    if (!out)
        return refuse(InvalidParameter);
    *out = nullptr;
    if (!started())
        return refuse(GdiplusNotInitialized);
    if (!validLineWrap(wrap) || mode < LinearGradientModeHorizontal || mode > LinearGradientModeBackwardDiagonal)
        return refuse(InvalidParameter);
    if (r.Width == 0 || r.Height == 0)
        return refuse(OutOfMemory);
    auto b = std::make_unique<LineBrush>();
    b->colors[0] = c1;
    b->colors[1] = c2;
    b->wrap = wrap;
    b->rect = r;
    switch (mode) {
    case LinearGradientModeHorizontal:
        b->start = PointF(r.X, r.Y);
        b->end = PointF(r.X + r.Width, r.Y);
        break;
    case LinearGradientModeVertical:
        b->start = PointF(r.X, r.Y);
        b->end = PointF(r.X, r.Y + r.Height);
        break;
    case LinearGradientModeForwardDiagonal:
    case LinearGradientModeBackwardDiagonal:
        // In the unit square the colour is constant along the other diagonal;
        // the rectangle stretches that square.
        cairo_matrix_init_scale(&b->toPattern, 1.0 / r.Width, 1.0 / r.Height);
        cairo_matrix_translate(&b->toPattern, -r.X, -r.Y);
        if (mode == LinearGradientModeForwardDiagonal) {
            b->start = PointF(0, 0);
            b->end = PointF(1, 1);
        } else {
            b->start = PointF(1, 0);
            b->end = PointF(0, 1);
        }
        break;
    }
    return publishBrush(std::move(b), out);
}

Status makePathGradient(const PathData& path, WrapMode wrap, GpPathGradient** out)
{
    if (!validWrap(wrap))
        return refuse(InvalidParameter);
    // A boundary needs an area; GDI+ answers OutOfMemory for fewer than two points.
    if (path.points.size() < 2)
        return refuse(OutOfMemory);
    auto b = std::make_unique<PathGradientBrush>();
    b->boundary = path;
    b->wrap = wrap;
    b->center = polygonCentroid(path);
    return publishBrush(std::move(b), out);
}

} // namespace

extern "C" {

GpStatus WINGDIPAPI Gdiplus::DllExports::GdipCloneBrush(GpBrush* brush, GpBrush** cloneBrush)
{
    VK_GDIP_LOCK();
    Brush* b = lookupAs<Brush>(brush);
    if (!b || !cloneBrush)
        return refuse(InvalidParameter);
    return publishBrush(b->clone(), cloneBrush);
}

GpStatus WINGDIPAPI Gdiplus::DllExports::GdipDeleteBrush(GpBrush* brush)
{
    VK_GDIP_LOCK();
    if (!lookupAs<Brush>(brush))
        return refuse(InvalidParameter);
    destroy(brush);
    return Ok;
}

GpStatus WINGDIPAPI Gdiplus::DllExports::GdipGetBrushType(GpBrush* brush, GpBrushType* type)
{
    VK_GDIP_LOCK();
    Brush* b = lookupAs<Brush>(brush);
    if (!b || !type)
        return refuse(InvalidParameter);
    *type = b->type;
    return Ok;
}

GpStatus WINGDIPAPI Gdiplus::DllExports::GdipCreateSolidFill(ARGB color, GpSolidFill** brush)
{
    VK_GDIP_LOCK();
    if (!brush)
        return refuse(InvalidParameter);
    *brush = nullptr;
    if (!started())
        return refuse(GdiplusNotInitialized);
    auto b = std::make_unique<SolidBrush>();
    b->color = color;
    return publishBrush(std::move(b), brush);
}

GpStatus WINGDIPAPI Gdiplus::DllExports::GdipSetSolidFillColor(GpSolidFill* brush, ARGB color)
{
    VK_GDIP_LOCK();
    auto* b = brushAs<SolidBrush>(brush, BrushTypeSolidColor);
    if (!b)
        return refuse(InvalidParameter);
    b->color = color;
    return Ok;
}

GpStatus WINGDIPAPI Gdiplus::DllExports::GdipGetSolidFillColor(GpSolidFill* brush, ARGB* color)
{
    VK_GDIP_LOCK();
    auto* b = brushAs<SolidBrush>(brush, BrushTypeSolidColor);
    if (!b || !color)
        return refuse(InvalidParameter);
    *color = b->color;
    return Ok;
}

GpStatus WINGDIPAPI Gdiplus::DllExports::GdipCreateLineBrush(GDIPCONST GpPointF* point1, GDIPCONST GpPointF* point2,
                                                             ARGB color1, ARGB color2, GpWrapMode wrapMode,
                                                             GpLineGradient** lineGradient)
{
    VK_GDIP_LOCK();
    if (!point1 || !point2)
        return refuse(InvalidParameter);
    return makeLineBrush(*point1, *point2, color1, color2, wrapMode, lineGradient);
}

GpStatus WINGDIPAPI Gdiplus::DllExports::GdipCreateLineBrushI(GDIPCONST GpPoint* point1, GDIPCONST GpPoint* point2,
                                                              ARGB color1, ARGB color2, GpWrapMode wrapMode,
                                                              GpLineGradient** lineGradient)
{
    VK_GDIP_LOCK();
    if (!point1 || !point2)
        return refuse(InvalidParameter);
    return makeLineBrush(PointF(REAL(point1->X), REAL(point1->Y)), PointF(REAL(point2->X), REAL(point2->Y)), color1,
                         color2, wrapMode, lineGradient);
}

GpStatus WINGDIPAPI Gdiplus::DllExports::GdipCreateLineBrushFromRect(GDIPCONST GpRectF* rect, ARGB color1, ARGB color2,
                                                                     LinearGradientMode mode, GpWrapMode wrapMode,
                                                                     GpLineGradient** lineGradient)
{
    VK_GDIP_LOCK();
    if (!rect)
        return refuse(InvalidParameter);
    return makeLineBrushFromRect(*rect, color1, color2, mode, wrapMode, lineGradient);
}

GpStatus WINGDIPAPI Gdiplus::DllExports::GdipCreateLineBrushFromRectI(GDIPCONST GpRect* rect, ARGB color1, ARGB color2,
                                                                      LinearGradientMode mode, GpWrapMode wrapMode,
                                                                      GpLineGradient** lineGradient)
{
    VK_GDIP_LOCK();
    if (!rect)
        return refuse(InvalidParameter);
    return makeLineBrushFromRect(RectF(REAL(rect->X), REAL(rect->Y), REAL(rect->Width), REAL(rect->Height)), color1,
                                 color2, mode, wrapMode, lineGradient);
}

GpStatus WINGDIPAPI Gdiplus::DllExports::GdipSetLineColors(GpLineGradient* brush, ARGB color1, ARGB color2)
{
    VK_GDIP_LOCK();
    auto* b = brushAs<LineBrush>(brush, BrushTypeLinearGradient);
    if (!b)
        return refuse(InvalidParameter);
    b->colors[0] = color1;
    b->colors[1] = color2;
    return Ok;
}

GpStatus WINGDIPAPI Gdiplus::DllExports::GdipGetLineColors(GpLineGradient* brush, ARGB* colors)
{
    VK_GDIP_LOCK();
    auto* b = brushAs<LineBrush>(brush, BrushTypeLinearGradient);
    if (!b || !colors)
        return refuse(InvalidParameter);
    colors[0] = b->colors[0];
    colors[1] = b->colors[1];
    return Ok;
}

GpStatus WINGDIPAPI Gdiplus::DllExports::GdipSetLineBlend(GpLineGradient* brush, GDIPCONST REAL* blend,
                                                          GDIPCONST REAL* positions, INT count)
{
    VK_GDIP_LOCK();
    auto* b = brushAs<LineBrush>(brush, BrushTypeLinearGradient);
    if (!b || !blend || !positions || count <= 0)
        return refuse(InvalidParameter);
    if (count >= 2 && (positions[0] != 0.0f || positions[count - 1] != 1.0f))
        return refuse(InvalidParameter);
    b->blendFactors.assign(blend, blend + count);
    b->blendPositions.assign(positions, positions + count);
    b->presetColors.clear();
    b->presetPositions.clear();
    return Ok;
}

GpStatus WINGDIPAPI Gdiplus::DllExports::GdipSetLinePresetBlend(GpLineGradient* brush, GDIPCONST ARGB* blend,
                                                                GDIPCONST REAL* positions, INT count)
{
    VK_GDIP_LOCK();
    auto* b = brushAs<LineBrush>(brush, BrushTypeLinearGradient);
    if (!b || !blend || !positions || count < 2)
        return refuse(InvalidParameter);
    // Positions run from 0 to 1 and never go back.
    if (positions[0] != 0.0f || positions[count - 1] != 1.0f)
        return refuse(InvalidParameter);
    for (INT i = 1; i < count; ++i)
        if (positions[i] < positions[i - 1])
            return refuse(InvalidParameter);
    b->presetColors.assign(blend, blend + count);
    b->presetPositions.assign(positions, positions + count);
    b->blendFactors.clear();
    b->blendPositions.clear();
    return Ok;
}

GpStatus WINGDIPAPI Gdiplus::DllExports::GdipSetLineLinearBlend(GpLineGradient* brush, REAL focus, REAL scale)
{
    VK_GDIP_LOCK();
    auto* b = brushAs<LineBrush>(brush, BrushTypeLinearGradient);
    if (!b || !(focus >= 0.0f && focus <= 1.0f) || !(scale >= 0.0f && scale <= 1.0f))
        return refuse(InvalidParameter);
    // A triangle: the start colour at both ends, `scale` of the way to the end
    // colour at the focus, straight lines in between.
    b->presetColors.clear();
    b->presetPositions.clear();
    if (focus == 0.0f) {
        b->blendPositions = {0.0f, 1.0f};
        b->blendFactors = {scale, 0.0f};
    } else if (focus == 1.0f) {
        b->blendPositions = {0.0f, 1.0f};
        b->blendFactors = {0.0f, scale};
    } else {
        b->blendPositions = {0.0f, focus, 1.0f};
        b->blendFactors = {0.0f, scale, 0.0f};
    }
    return Ok;
}

GpStatus WINGDIPAPI Gdiplus::DllExports::GdipSetLineWrapMode(GpLineGradient* brush, GpWrapMode wrapmode)
{
    VK_GDIP_LOCK();
    auto* b = brushAs<LineBrush>(brush, BrushTypeLinearGradient);
    if (!b || !validLineWrap(wrapmode))
        return refuse(InvalidParameter);
    b->wrap = wrapmode;
    return Ok;
}

GpStatus WINGDIPAPI Gdiplus::DllExports::GdipGetLineWrapMode(GpLineGradient* brush, GpWrapMode* wrapmode)
{
    VK_GDIP_LOCK();
    auto* b = brushAs<LineBrush>(brush, BrushTypeLinearGradient);
    if (!b || !wrapmode)
        return refuse(InvalidParameter);
    *wrapmode = b->wrap;
    return Ok;
}

GpStatus WINGDIPAPI Gdiplus::DllExports::GdipGetLineRect(GpLineGradient* brush, GpRectF* rect)
{
    VK_GDIP_LOCK();
    auto* b = brushAs<LineBrush>(brush, BrushTypeLinearGradient);
    if (!b || !rect)
        return refuse(InvalidParameter);
    *rect = b->rect;
    return Ok;
}

GpStatus WINGDIPAPI Gdiplus::DllExports::GdipCreatePathGradient(GDIPCONST GpPointF* points, INT count, GpWrapMode wrapMode,
                                                                GpPathGradient** polyGradient)
{
    VK_GDIP_LOCK();
    if (!points || !polyGradient)
        return refuse(InvalidParameter);
    *polyGradient = nullptr;
    if (!started())
        return refuse(GdiplusNotInitialized);
    if (count <= 0)
        return refuse(OutOfMemory);
    PathData path;
    path.moveOrLineTo(points[0]);
    for (INT i = 1; i < count; ++i)
        path.lineTo(points[i]);
    path.closeFigure();
    return makePathGradient(path, wrapMode, polyGradient);
}

GpStatus WINGDIPAPI Gdiplus::DllExports::GdipCreatePathGradientFromPath(GDIPCONST GpPath* path, GpPathGradient** polyGradient)
{
    VK_GDIP_LOCK();
    Path* p = lookupAs<Path>(path);
    if (!p || !polyGradient)
        return refuse(InvalidParameter);
    *polyGradient = nullptr;
    return makePathGradient(p->data, WrapModeClamp, polyGradient);
}

GpStatus WINGDIPAPI Gdiplus::DllExports::GdipSetPathGradientCenterColor(GpPathGradient* brush, ARGB colors)
{
    VK_GDIP_LOCK();
    auto* b = brushAs<PathGradientBrush>(brush, BrushTypePathGradient);
    if (!b)
        return refuse(InvalidParameter);
    b->centerColor = colors;
    return Ok;
}

GpStatus WINGDIPAPI Gdiplus::DllExports::GdipGetPathGradientCenterColor(GpPathGradient* brush, ARGB* colors)
{
    VK_GDIP_LOCK();
    auto* b = brushAs<PathGradientBrush>(brush, BrushTypePathGradient);
    if (!b || !colors)
        return refuse(InvalidParameter);
    *colors = b->centerColor;
    return Ok;
}

GpStatus WINGDIPAPI Gdiplus::DllExports::GdipSetPathGradientSurroundColorsWithCount(GpPathGradient* brush,
                                                                                    GDIPCONST ARGB* color, INT* count)
{
    VK_GDIP_LOCK();
    auto* b = brushAs<PathGradientBrush>(brush, BrushTypePathGradient);
    if (!b || !color || !count)
        return refuse(InvalidParameter);
    INT points = INT(b->boundary.points.size());
    if (*count <= 0 || *count > points)
        return refuse(InvalidParameter);
    b->surround.assign(color, color + *count);
    // Fewer colours than points: the last one goes on for the rest.
    return Ok;
}

GpStatus WINGDIPAPI Gdiplus::DllExports::GdipGetPathGradientSurroundColorCount(GpPathGradient* brush, INT* count)
{
    VK_GDIP_LOCK();
    auto* b = brushAs<PathGradientBrush>(brush, BrushTypePathGradient);
    if (!b || !count)
        return refuse(InvalidParameter);
    *count = INT(b->surround.size());
    return Ok;
}

GpStatus WINGDIPAPI Gdiplus::DllExports::GdipGetPathGradientPointCount(GpPathGradient* brush, INT* count)
{
    VK_GDIP_LOCK();
    auto* b = brushAs<PathGradientBrush>(brush, BrushTypePathGradient);
    if (!b || !count)
        return refuse(InvalidParameter);
    *count = INT(b->boundary.points.size());
    return Ok;
}

GpStatus WINGDIPAPI Gdiplus::DllExports::GdipSetPathGradientCenterPoint(GpPathGradient* brush, GDIPCONST GpPointF* points)
{
    VK_GDIP_LOCK();
    auto* b = brushAs<PathGradientBrush>(brush, BrushTypePathGradient);
    if (!b || !points)
        return refuse(InvalidParameter);
    b->center = *points;
    return Ok;
}

GpStatus WINGDIPAPI Gdiplus::DllExports::GdipGetPathGradientCenterPoint(GpPathGradient* brush, GpPointF* points)
{
    VK_GDIP_LOCK();
    auto* b = brushAs<PathGradientBrush>(brush, BrushTypePathGradient);
    if (!b || !points)
        return refuse(InvalidParameter);
    *points = b->center;
    return Ok;
}

GpStatus WINGDIPAPI Gdiplus::DllExports::GdipSetPathGradientFocusScales(GpPathGradient* brush, REAL xScale, REAL yScale)
{
    VK_GDIP_LOCK();
    auto* b = brushAs<PathGradientBrush>(brush, BrushTypePathGradient);
    if (!b || !std::isfinite(xScale) || !std::isfinite(yScale))
        return refuse(InvalidParameter);
    b->focusX = xScale;
    b->focusY = yScale;
    return Ok;
}

GpStatus WINGDIPAPI Gdiplus::DllExports::GdipGetPathGradientFocusScales(GpPathGradient* brush, REAL* xScale, REAL* yScale)
{
    VK_GDIP_LOCK();
    auto* b = brushAs<PathGradientBrush>(brush, BrushTypePathGradient);
    if (!b || !xScale || !yScale)
        return refuse(InvalidParameter);
    *xScale = b->focusX;
    *yScale = b->focusY;
    return Ok;
}

GpStatus WINGDIPAPI Gdiplus::DllExports::GdipSetPathGradientWrapMode(GpPathGradient* brush, GpWrapMode wrapmode)
{
    VK_GDIP_LOCK();
    auto* b = brushAs<PathGradientBrush>(brush, BrushTypePathGradient);
    if (!b || !validWrap(wrapmode))
        return refuse(InvalidParameter);
    b->wrap = wrapmode;
    return Ok;
}

GpStatus WINGDIPAPI Gdiplus::DllExports::GdipCreateTexture(GpImage* image, GpWrapMode wrapmode, GpTexture** texture)
{
    VK_GDIP_LOCK();
    Bitmap* img = lookupAs<Bitmap>(image);
    if (!img || !texture || !validWrap(wrapmode))
        return refuse(InvalidParameter);
    *texture = nullptr;
    auto b = std::make_unique<TextureBrush>();
    Status st = Ok;
    // The brush keeps its own copy, as GDI+ does.
    b->image = cloneBitmap(*img, st);
    if (!b->image)
        return refuse(st);
    b->wrap = wrapmode;
    return publishBrush(std::move(b), texture);
}

GpStatus WINGDIPAPI Gdiplus::DllExports::GdipSetTextureWrapMode(GpTexture* brush, GpWrapMode wrapmode)
{
    VK_GDIP_LOCK();
    auto* b = brushAs<TextureBrush>(brush, BrushTypeTextureFill);
    if (!b || !validWrap(wrapmode))
        return refuse(InvalidParameter);
    b->wrap = wrapmode;
    return Ok;
}

GpStatus WINGDIPAPI Gdiplus::DllExports::GdipGetTextureWrapMode(GpTexture* brush, GpWrapMode* wrapmode)
{
    VK_GDIP_LOCK();
    auto* b = brushAs<TextureBrush>(brush, BrushTypeTextureFill);
    if (!b || !wrapmode)
        return refuse(InvalidParameter);
    *wrapmode = b->wrap;
    return Ok;
}

GpStatus WINGDIPAPI Gdiplus::DllExports::GdipGetTextureImage(GpTexture* brush, GpImage** image)
{
    VK_GDIP_LOCK();
    auto* b = brushAs<TextureBrush>(brush, BrushTypeTextureFill);
    if (!b || !image || !b->image)
        return refuse(InvalidParameter);
    Status st = Ok;
    auto copy = cloneBitmap(*b->image, st);
    if (!copy)
        return refuse(st);
    void* h = publish(std::move(copy));
    if (!h)
        return refuse(OutOfMemory);
    *image = static_cast<GpImage*>(h);
    return Ok;
}

GpStatus WINGDIPAPI Gdiplus::DllExports::GdipTranslateTextureTransform(GpTexture* brush, REAL dx, REAL dy, GpMatrixOrder order)
{
    VK_GDIP_LOCK();
    auto* b = brushAs<TextureBrush>(brush, BrushTypeTextureFill);
    if (!b)
        return refuse(InvalidParameter);
    cairo_matrix_t t;
    cairo_matrix_init_translate(&t, dx, dy);
    if (order == MatrixOrderAppend)
        cairo_matrix_multiply(&b->transform, &b->transform, &t);
    else
        cairo_matrix_multiply(&b->transform, &t, &b->transform);
    return Ok;
}

GpStatus WINGDIPAPI Gdiplus::DllExports::GdipResetTextureTransform(GpTexture* brush)
{
    VK_GDIP_LOCK();
    auto* b = brushAs<TextureBrush>(brush, BrushTypeTextureFill);
    if (!b)
        return refuse(InvalidParameter);
    cairo_matrix_init_identity(&b->transform);
    return Ok;
}

} // extern "C"
