// Pixel coverage of the shapes GDI draws and builds regions from: ellipses,
// rounded rectangles and polygons. Right and bottom edges are exclusive;
// a pixel belongs to a shape when its centre does.
#pragma once

#include "core/region.h"

#include <windef.h>

namespace vk::gdi {

Region ellipseRegion(int left, int top, int right, int bottom);
Region roundRectRegion(int left, int top, int right, int bottom, int ellipseW, int ellipseH);
// counts[i] points per polygon; mode ALTERNATE or WINDING.
Region polygonRegion(const POINT* pts, const int* counts, int polys, int mode);
// Region grown into its frame: the pixels of rgn within w/h of its outside.
Region frameOf(const Region& rgn, int w, int h);

} // namespace vk::gdi
