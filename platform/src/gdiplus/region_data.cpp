// Regions as sequences of combinations, their bounds, point tests and masks.
#include "gdiplus/objects.h"

#include <algorithm>
#include <cmath>

namespace vk::gdiplus {

namespace {

// GDI+ describes an infinite region by this rectangle.
constexpr float kInfiniteOrigin = -4194304.0f;
constexpr float kInfiniteSize = 8388608.0f;

gp::RectF infiniteRect()
{
    return {kInfiniteOrigin, kInfiniteOrigin, kInfiniteSize, kInfiniteSize};
}

gp::RectF intersectRects(const gp::RectF& a, const gp::RectF& b)
{
    float l = std::max(a.X, b.X), t = std::max(a.Y, b.Y);
    float r = std::min(a.X + a.Width, b.X + b.Width), btm = std::min(a.Y + a.Height, b.Y + b.Height);
    if (r <= l || btm <= t)
        return {};
    return {l, t, r - l, btm - t};
}

gp::RectF uniteRects(const gp::RectF& a, const gp::RectF& b)
{
    if (a.Width <= 0 || a.Height <= 0)
        return b;
    if (b.Width <= 0 || b.Height <= 0)
        return a;
    float l = std::min(a.X, b.X), t = std::min(a.Y, b.Y);
    float r = std::max(a.X + a.Width, b.X + b.Width), btm = std::max(a.Y + a.Height, b.Y + b.Height);
    return {l, t, r - l, btm - t};
}

gp::RectF partBounds(const RegionPart& p)
{
    switch (p.shape) {
    case RegionPart::Shape::Infinite:
        return infiniteRect();
    case RegionPart::Shape::Empty:
        return {};
    case RegionPart::Shape::Rect:
        return p.rect;
    case RegionPart::Shape::Path: {
        if (p.path.points.empty())
            return {};
        float l = p.path.points[0].X, r = l, t = p.path.points[0].Y, b = t;
        for (const gp::PointF& q : p.path.points) {
            l = std::min(l, q.X);
            r = std::max(r, q.X);
            t = std::min(t, q.Y);
            b = std::max(b, q.Y);
        }
        return {l, t, r - l, b - t};
    }
    case RegionPart::Shape::Nested:
        return p.nested->bounds();
    }
    return {};
}

bool partContains(const RegionPart& p, double x, double y)
{
    switch (p.shape) {
    case RegionPart::Shape::Infinite:
        return true;
    case RegionPart::Shape::Empty:
        return false;
    case RegionPart::Shape::Rect:
        return x >= p.rect.X && x < p.rect.X + p.rect.Width && y >= p.rect.Y && y < p.rect.Y + p.rect.Height;
    case RegionPart::Shape::Path: {
        SurfacePtr s(cairo_image_surface_create(CAIRO_FORMAT_A8, 1, 1));
        ContextPtr cr(cairo_create(s.get()));
        appendPath(cr.get(), p.path);
        cairo_set_fill_rule(cr.get(), p.path.fillMode == gp::FillModeWinding ? CAIRO_FILL_RULE_WINDING : CAIRO_FILL_RULE_EVEN_ODD);
        return cairo_in_fill(cr.get(), x, y);
    }
    case RegionPart::Shape::Nested:
        return p.nested->contains(x, y);
    }
    return false;
}

bool combineBool(gp::CombineMode mode, bool acc, bool in)
{
    switch (mode) {
    case gp::CombineModeReplace:
        return in;
    case gp::CombineModeIntersect:
        return acc && in;
    case gp::CombineModeUnion:
        return acc || in;
    case gp::CombineModeXor:
        return acc != in;
    case gp::CombineModeExclude:
        return acc && !in;
    case gp::CombineModeComplement:
        return in && !acc;
    }
    return acc;
}

cairo_operator_t combineOperator(gp::CombineMode mode)
{
    switch (mode) {
    case gp::CombineModeReplace:
        return CAIRO_OPERATOR_SOURCE;
    case gp::CombineModeIntersect:
        return CAIRO_OPERATOR_IN;
    case gp::CombineModeUnion:
        return CAIRO_OPERATOR_OVER;
    case gp::CombineModeXor:
        return CAIRO_OPERATOR_XOR;
    case gp::CombineModeExclude:
        return CAIRO_OPERATOR_DEST_OUT;
    case gp::CombineModeComplement:
        return CAIRO_OPERATOR_OUT;
    }
    return CAIRO_OPERATOR_SOURCE;
}

} // namespace

void RegionData::setEmpty()
{
    RegionPart p;
    p.shape = RegionPart::Shape::Empty;
    parts.assign(1, std::move(p));
}

void RegionData::combine(RegionPart part)
{
    if (part.mode == gp::CombineModeReplace) {
        parts.assign(1, std::move(part));
        return;
    }
    // Intersecting with the infinite region or uniting with the empty one changes nothing.
    if ((part.mode == gp::CombineModeIntersect && part.shape == RegionPart::Shape::Infinite) ||
        ((part.mode == gp::CombineModeUnion || part.mode == gp::CombineModeXor || part.mode == gp::CombineModeExclude) &&
         part.shape == RegionPart::Shape::Empty))
        return;
    if (parts.size() == 1 && parts[0].shape == RegionPart::Shape::Infinite && part.mode == gp::CombineModeIntersect) {
        part.mode = gp::CombineModeReplace;
        parts.assign(1, std::move(part));
        return;
    }
    parts.push_back(std::move(part));
}

void RegionData::combine(const RegionData& other, gp::CombineMode mode)
{
    if (other.parts.size() == 1) {
        RegionPart p = other.parts[0];
        p.mode = mode;
        combine(std::move(p));
        return;
    }
    if (mode == gp::CombineModeReplace || (mode == gp::CombineModeIntersect && isInfinite())) {
        parts = other.parts;
        return;
    }
    RegionPart p;
    p.mode = mode;
    p.shape = RegionPart::Shape::Nested;
    p.nested = std::make_shared<RegionData>(other);
    parts.push_back(std::move(p));
}

void RegionData::transform(const cairo_matrix_t& m)
{
    bool axisAligned = m.xy == 0 && m.yx == 0;
    for (RegionPart& p : parts) {
        if (p.shape == RegionPart::Shape::Rect) {
            if (axisAligned) {
                double x0 = p.rect.X, y0 = p.rect.Y, x1 = p.rect.X + p.rect.Width, y1 = p.rect.Y + p.rect.Height;
                cairo_matrix_transform_point(&m, &x0, &y0);
                cairo_matrix_transform_point(&m, &x1, &y1);
                p.rect = gp::RectF(float(std::min(x0, x1)), float(std::min(y0, y1)), float(std::fabs(x1 - x0)),
                                   float(std::fabs(y1 - y0)));
            } else {
                p.path = PathData{};
                p.path.addRectangle(p.rect.X, p.rect.Y, p.rect.Width, p.rect.Height);
                p.path.transform(m);
                p.shape = RegionPart::Shape::Path;
            }
        } else if (p.shape == RegionPart::Shape::Path) {
            p.path.transform(m);
        } else if (p.shape == RegionPart::Shape::Nested) {
            auto copy = std::make_shared<RegionData>(*p.nested);
            copy->transform(m);
            p.nested = std::move(copy);
        }
    }
}

bool RegionData::isInfinite() const
{
    gp::RectF r;
    bool infinite = false;
    return asRect(r, infinite) && infinite;
}

bool RegionData::isEmpty() const
{
    gp::RectF b = bounds();
    return b.Width <= 0 || b.Height <= 0;
}

bool RegionData::contains(double x, double y) const
{
    bool acc = false;
    for (const RegionPart& p : parts)
        acc = combineBool(p.mode, acc, partContains(p, x, y));
    return acc;
}

gp::RectF RegionData::bounds() const
{
    gp::RectF acc;
    for (const RegionPart& p : parts) {
        gp::RectF b = partBounds(p);
        switch (p.mode) {
        case gp::CombineModeReplace:
        case gp::CombineModeComplement:
            acc = b;
            break;
        case gp::CombineModeIntersect:
            acc = intersectRects(acc, b);
            break;
        case gp::CombineModeUnion:
        case gp::CombineModeXor:
            acc = uniteRects(acc, b);
            break;
        case gp::CombineModeExclude:
            break;
        }
    }
    return acc;
}

bool RegionData::asRect(gp::RectF& r, bool& infinite) const
{
    infinite = false;
    gp::RectF acc = infiniteRect();
    bool inf = true;
    for (const RegionPart& p : parts) {
        if (p.mode != gp::CombineModeReplace && p.mode != gp::CombineModeIntersect)
            return false;
        if (p.shape == RegionPart::Shape::Path || p.shape == RegionPart::Shape::Nested)
            return false;
        gp::RectF b = partBounds(p);
        if (p.shape == RegionPart::Shape::Infinite) {
            if (p.mode == gp::CombineModeReplace)
                acc = b, inf = true;
            continue;
        }
        acc = p.mode == gp::CombineModeReplace ? b : intersectRects(inf ? b : acc, b);
        inf = false;
    }
    infinite = inf;
    r = acc;
    return true;
}

SurfacePtr RegionData::rasterize(int width, int height, double offset) const
{
    SurfacePtr acc(cairo_image_surface_create(CAIRO_FORMAT_A8, width, height));
    rasterizeInto(acc.get(), offset);
    return acc;
}

void RegionData::rasterizeInto(cairo_surface_t* acc, double offset) const
{
    int width = cairo_image_surface_get_width(acc), height = cairo_image_surface_get_height(acc);
    SurfacePtr shape(cairo_image_surface_create(CAIRO_FORMAT_A8, width, height));
    ContextPtr accCr(cairo_create(acc));
    ContextPtr shapeCr(cairo_create(shape.get()));
    cairo_set_antialias(shapeCr.get(), CAIRO_ANTIALIAS_NONE);
    cairo_translate(shapeCr.get(), offset, offset);
    for (const RegionPart& p : parts) {
        cairo_save(shapeCr.get());
        cairo_set_operator(shapeCr.get(), CAIRO_OPERATOR_CLEAR);
        cairo_paint(shapeCr.get());
        cairo_restore(shapeCr.get());
        switch (p.shape) {
        case RegionPart::Shape::Infinite:
            cairo_paint(shapeCr.get());
            break;
        case RegionPart::Shape::Empty:
            break;
        case RegionPart::Shape::Rect:
            cairo_rectangle(shapeCr.get(), p.rect.X, p.rect.Y, p.rect.Width, p.rect.Height);
            cairo_fill(shapeCr.get());
            break;
        case RegionPart::Shape::Path:
            appendPath(shapeCr.get(), p.path);
            cairo_set_fill_rule(shapeCr.get(),
                                p.path.fillMode == gp::FillModeWinding ? CAIRO_FILL_RULE_WINDING : CAIRO_FILL_RULE_EVEN_ODD);
            cairo_fill(shapeCr.get());
            break;
        case RegionPart::Shape::Nested:
            cairo_surface_flush(shape.get());
            p.nested->rasterizeInto(shape.get(), offset);
            break;
        }
        cairo_surface_flush(shape.get());
        cairo_set_operator(accCr.get(), combineOperator(p.mode));
        cairo_set_source_surface(accCr.get(), shape.get(), 0, 0);
        cairo_paint(accCr.get());
    }
    cairo_surface_flush(acc);
}

} // namespace vk::gdiplus
