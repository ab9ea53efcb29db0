/* The opaque object types of the GDI+ flat interface. */
#ifndef VELKARO_GDIPLUSGPSTUBS_H
#define VELKARO_GDIPLUSGPSTUBS_H

#include <gdiplusimaging.h>

namespace Gdiplus {

class GpGraphics {};
class GpBrush {};
class GpSolidFill : public GpBrush {};
class GpTexture : public GpBrush {};
class GpHatch : public GpBrush {};
class GpLineGradient : public GpBrush {};
class GpPathGradient : public GpBrush {};
class GpPen {};
class GpImage {};
class GpBitmap : public GpImage {};
class GpMetafile : public GpImage {};
class GpImageAttributes {};
class GpPath {};
class GpRegion {};
class GpPathIterator {};
class GpMatrix {};
class GpCustomLineCap {};
class GpAdjustableArrowCap : public GpCustomLineCap {};
class GpCachedBitmap {};
class GpFontFamily {};
class GpFont {};
class GpStringFormat {};
class GpFontCollection {};
class GpInstalledFontCollection : public GpFontCollection {};
class GpPrivateFontCollection : public GpFontCollection {};

typedef Status GpStatus;
typedef FillMode GpFillMode;
typedef WrapMode GpWrapMode;
typedef Unit GpUnit;
typedef CoordinateSpace GpCoordinateSpace;
typedef PointF GpPointF;
typedef Point GpPoint;
typedef RectF GpRectF;
typedef Rect GpRect;
typedef SizeF GpSizeF;
typedef BrushType GpBrushType;
typedef MatrixOrder GpMatrixOrder;
typedef LineCap GpLineCap;
typedef LineJoin GpLineJoin;
typedef DashStyle GpDashStyle;
typedef PenAlignment GpPenAlignment;
typedef PenType GpPenType;

} // namespace Gdiplus

#endif
