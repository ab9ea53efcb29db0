/* The GDI+ flat interface: the functions gdiplus.dll exports. */
#ifndef VELKARO_GDIPLUSFLAT_H
#define VELKARO_GDIPLUSFLAT_H

#include <gdiplusgpstubs.h>
#include <gdiplusinit.h>

struct IStream;

namespace Gdiplus {
namespace DllExports {

extern "C" {

void* WINGDIPAPI GdipAlloc(size_t size);
void WINGDIPAPI GdipFree(void* ptr);

// Graphics
GpStatus WINGDIPAPI GdipCreateFromHDC(HDC hdc, GpGraphics** graphics);
GpStatus WINGDIPAPI GdipCreateFromHDC2(HDC hdc, HANDLE hDevice, GpGraphics** graphics);
GpStatus WINGDIPAPI GdipGetImageGraphicsContext(GpImage* image, GpGraphics** graphics);
GpStatus WINGDIPAPI GdipDeleteGraphics(GpGraphics* graphics);
GpStatus WINGDIPAPI GdipFlush(GpGraphics* graphics, FlushIntention intention);
GpStatus WINGDIPAPI GdipSetCompositingMode(GpGraphics* graphics, CompositingMode compositingMode);
GpStatus WINGDIPAPI GdipGetCompositingMode(GpGraphics* graphics, CompositingMode* compositingMode);
GpStatus WINGDIPAPI GdipSetCompositingQuality(GpGraphics* graphics, CompositingQuality compositingQuality);
GpStatus WINGDIPAPI GdipGetCompositingQuality(GpGraphics* graphics, CompositingQuality* compositingQuality);
GpStatus WINGDIPAPI GdipSetSmoothingMode(GpGraphics* graphics, SmoothingMode smoothingMode);
GpStatus WINGDIPAPI GdipGetSmoothingMode(GpGraphics* graphics, SmoothingMode* smoothingMode);
GpStatus WINGDIPAPI GdipSetInterpolationMode(GpGraphics* graphics, InterpolationMode interpolationMode);
GpStatus WINGDIPAPI GdipGetInterpolationMode(GpGraphics* graphics, InterpolationMode* interpolationMode);
GpStatus WINGDIPAPI GdipSetPixelOffsetMode(GpGraphics* graphics, PixelOffsetMode pixelOffsetMode);
GpStatus WINGDIPAPI GdipGetPixelOffsetMode(GpGraphics* graphics, PixelOffsetMode* pixelOffsetMode);
GpStatus WINGDIPAPI GdipSetTextRenderingHint(GpGraphics* graphics, TextRenderingHint mode);
GpStatus WINGDIPAPI GdipGetTextRenderingHint(GpGraphics* graphics, TextRenderingHint* mode);
GpStatus WINGDIPAPI GdipGetDpiX(GpGraphics* graphics, REAL* dpi);
GpStatus WINGDIPAPI GdipGetDpiY(GpGraphics* graphics, REAL* dpi);
GpStatus WINGDIPAPI GdipResetWorldTransform(GpGraphics* graphics);
GpStatus WINGDIPAPI GdipTranslateWorldTransform(GpGraphics* graphics, REAL dx, REAL dy, GpMatrixOrder order);
GpStatus WINGDIPAPI GdipScaleWorldTransform(GpGraphics* graphics, REAL sx, REAL sy, GpMatrixOrder order);
GpStatus WINGDIPAPI GdipRotateWorldTransform(GpGraphics* graphics, REAL angle, GpMatrixOrder order);

GpStatus WINGDIPAPI GdipGraphicsClear(GpGraphics* graphics, ARGB color);
GpStatus WINGDIPAPI GdipDrawLine(GpGraphics* graphics, GpPen* pen, REAL x1, REAL y1, REAL x2, REAL y2);
GpStatus WINGDIPAPI GdipDrawLineI(GpGraphics* graphics, GpPen* pen, INT x1, INT y1, INT x2, INT y2);
GpStatus WINGDIPAPI GdipDrawLines(GpGraphics* graphics, GpPen* pen, GDIPCONST GpPointF* points, INT count);
GpStatus WINGDIPAPI GdipDrawLinesI(GpGraphics* graphics, GpPen* pen, GDIPCONST GpPoint* points, INT count);
GpStatus WINGDIPAPI GdipDrawRectangle(GpGraphics* graphics, GpPen* pen, REAL x, REAL y, REAL width, REAL height);
GpStatus WINGDIPAPI GdipDrawRectangleI(GpGraphics* graphics, GpPen* pen, INT x, INT y, INT width, INT height);
GpStatus WINGDIPAPI GdipDrawEllipse(GpGraphics* graphics, GpPen* pen, REAL x, REAL y, REAL width, REAL height);
GpStatus WINGDIPAPI GdipDrawEllipseI(GpGraphics* graphics, GpPen* pen, INT x, INT y, INT width, INT height);
GpStatus WINGDIPAPI GdipDrawPath(GpGraphics* graphics, GpPen* pen, GpPath* path);
GpStatus WINGDIPAPI GdipFillRectangle(GpGraphics* graphics, GpBrush* brush, REAL x, REAL y, REAL width, REAL height);
GpStatus WINGDIPAPI GdipFillRectangleI(GpGraphics* graphics, GpBrush* brush, INT x, INT y, INT width, INT height);
GpStatus WINGDIPAPI GdipFillEllipse(GpGraphics* graphics, GpBrush* brush, REAL x, REAL y, REAL width, REAL height);
GpStatus WINGDIPAPI GdipFillEllipseI(GpGraphics* graphics, GpBrush* brush, INT x, INT y, INT width, INT height);
GpStatus WINGDIPAPI GdipFillPath(GpGraphics* graphics, GpBrush* brush, GpPath* path);
GpStatus WINGDIPAPI GdipFillRegion(GpGraphics* graphics, GpBrush* brush, GpRegion* region);

GpStatus WINGDIPAPI GdipDrawImage(GpGraphics* graphics, GpImage* image, REAL x, REAL y);
GpStatus WINGDIPAPI GdipDrawImageI(GpGraphics* graphics, GpImage* image, INT x, INT y);
GpStatus WINGDIPAPI GdipDrawImageRect(GpGraphics* graphics, GpImage* image, REAL x, REAL y, REAL width, REAL height);
GpStatus WINGDIPAPI GdipDrawImageRectI(GpGraphics* graphics, GpImage* image, INT x, INT y, INT width, INT height);
GpStatus WINGDIPAPI GdipDrawImageRectRect(GpGraphics* graphics, GpImage* image, REAL dstx, REAL dsty, REAL dstwidth,
                                          REAL dstheight, REAL srcx, REAL srcy, REAL srcwidth, REAL srcheight,
                                          GpUnit srcUnit, GDIPCONST GpImageAttributes* imageAttributes,
                                          DrawImageAbort callback, VOID* callbackData);
GpStatus WINGDIPAPI GdipDrawImageRectRectI(GpGraphics* graphics, GpImage* image, INT dstx, INT dsty, INT dstwidth,
                                           INT dstheight, INT srcx, INT srcy, INT srcwidth, INT srcheight,
                                           GpUnit srcUnit, GDIPCONST GpImageAttributes* imageAttributes,
                                           DrawImageAbort callback, VOID* callbackData);

GpStatus WINGDIPAPI GdipDrawString(GpGraphics* graphics, GDIPCONST WCHAR* string, INT length, GDIPCONST GpFont* font,
                                   GDIPCONST RectF* layoutRect, GDIPCONST GpStringFormat* stringFormat,
                                   GDIPCONST GpBrush* brush);
GpStatus WINGDIPAPI GdipMeasureString(GpGraphics* graphics, GDIPCONST WCHAR* string, INT length,
                                      GDIPCONST GpFont* font, GDIPCONST RectF* layoutRect,
                                      GDIPCONST GpStringFormat* stringFormat, RectF* boundingBox,
                                      INT* codepointsFitted, INT* linesFilled);

GpStatus WINGDIPAPI GdipSetClipGraphics(GpGraphics* graphics, GpGraphics* srcgraphics, CombineMode combineMode);
GpStatus WINGDIPAPI GdipSetClipRect(GpGraphics* graphics, REAL x, REAL y, REAL width, REAL height, CombineMode combineMode);
GpStatus WINGDIPAPI GdipSetClipRectI(GpGraphics* graphics, INT x, INT y, INT width, INT height, CombineMode combineMode);
GpStatus WINGDIPAPI GdipSetClipPath(GpGraphics* graphics, GpPath* path, CombineMode combineMode);
GpStatus WINGDIPAPI GdipSetClipRegion(GpGraphics* graphics, GpRegion* region, CombineMode combineMode);
GpStatus WINGDIPAPI GdipResetClip(GpGraphics* graphics);
GpStatus WINGDIPAPI GdipGetClipBounds(GpGraphics* graphics, GpRectF* rect);
GpStatus WINGDIPAPI GdipGetClipBoundsI(GpGraphics* graphics, GpRect* rect);
GpStatus WINGDIPAPI GdipIsClipEmpty(GpGraphics* graphics, BOOL* result);

// Paths
GpStatus WINGDIPAPI GdipCreatePath(GpFillMode brushMode, GpPath** path);
GpStatus WINGDIPAPI GdipClonePath(GpPath* path, GpPath** clonePath);
GpStatus WINGDIPAPI GdipDeletePath(GpPath* path);
GpStatus WINGDIPAPI GdipResetPath(GpPath* path);
GpStatus WINGDIPAPI GdipGetPointCount(GpPath* path, INT* count);
GpStatus WINGDIPAPI GdipGetPathPoints(GpPath* path, GpPointF* points, INT count);
GpStatus WINGDIPAPI GdipGetPathTypes(GpPath* path, BYTE* types, INT count);
GpStatus WINGDIPAPI GdipGetPathFillMode(GpPath* path, GpFillMode* fillmode);
GpStatus WINGDIPAPI GdipSetPathFillMode(GpPath* path, GpFillMode fillmode);
GpStatus WINGDIPAPI GdipStartPathFigure(GpPath* path);
GpStatus WINGDIPAPI GdipClosePathFigure(GpPath* path);
GpStatus WINGDIPAPI GdipClosePathFigures(GpPath* path);
GpStatus WINGDIPAPI GdipAddPathLine(GpPath* path, REAL x1, REAL y1, REAL x2, REAL y2);
GpStatus WINGDIPAPI GdipAddPathLineI(GpPath* path, INT x1, INT y1, INT x2, INT y2);
GpStatus WINGDIPAPI GdipAddPathLine2(GpPath* path, GDIPCONST GpPointF* points, INT count);
GpStatus WINGDIPAPI GdipAddPathLine2I(GpPath* path, GDIPCONST GpPoint* points, INT count);
GpStatus WINGDIPAPI GdipAddPathArc(GpPath* path, REAL x, REAL y, REAL width, REAL height, REAL startAngle, REAL sweepAngle);
GpStatus WINGDIPAPI GdipAddPathArcI(GpPath* path, INT x, INT y, INT width, INT height, REAL startAngle, REAL sweepAngle);
GpStatus WINGDIPAPI GdipAddPathBezier(GpPath* path, REAL x1, REAL y1, REAL x2, REAL y2, REAL x3, REAL y3, REAL x4, REAL y4);
GpStatus WINGDIPAPI GdipAddPathBezierI(GpPath* path, INT x1, INT y1, INT x2, INT y2, INT x3, INT y3, INT x4, INT y4);
GpStatus WINGDIPAPI GdipAddPathRectangle(GpPath* path, REAL x, REAL y, REAL width, REAL height);
GpStatus WINGDIPAPI GdipAddPathRectangleI(GpPath* path, INT x, INT y, INT width, INT height);
GpStatus WINGDIPAPI GdipAddPathEllipse(GpPath* path, REAL x, REAL y, REAL width, REAL height);
GpStatus WINGDIPAPI GdipAddPathEllipseI(GpPath* path, INT x, INT y, INT width, INT height);
GpStatus WINGDIPAPI GdipAddPathPath(GpPath* path, GDIPCONST GpPath* addingPath, BOOL connect);
GpStatus WINGDIPAPI GdipGetPathWorldBounds(GpPath* path, GpRectF* bounds, GDIPCONST GpMatrix* matrix, GDIPCONST GpPen* pen);
GpStatus WINGDIPAPI GdipGetPathWorldBoundsI(GpPath* path, GpRect* bounds, GDIPCONST GpMatrix* matrix, GDIPCONST GpPen* pen);
GpStatus WINGDIPAPI GdipIsVisiblePathPoint(GpPath* path, REAL x, REAL y, GpGraphics* graphics, BOOL* result);

// Pens
GpStatus WINGDIPAPI GdipCreatePen1(ARGB color, REAL width, GpUnit unit, GpPen** pen);
GpStatus WINGDIPAPI GdipCreatePen2(GpBrush* brush, REAL width, GpUnit unit, GpPen** pen);
GpStatus WINGDIPAPI GdipClonePen(GpPen* pen, GpPen** clonepen);
GpStatus WINGDIPAPI GdipDeletePen(GpPen* pen);
GpStatus WINGDIPAPI GdipSetPenWidth(GpPen* pen, REAL width);
GpStatus WINGDIPAPI GdipGetPenWidth(GpPen* pen, REAL* width);
GpStatus WINGDIPAPI GdipSetPenColor(GpPen* pen, ARGB argb);
GpStatus WINGDIPAPI GdipGetPenColor(GpPen* pen, ARGB* argb);
GpStatus WINGDIPAPI GdipSetPenBrushFill(GpPen* pen, GpBrush* brush);
GpStatus WINGDIPAPI GdipSetPenLineJoin(GpPen* pen, GpLineJoin lineJoin);
GpStatus WINGDIPAPI GdipSetPenStartCap(GpPen* pen, GpLineCap startCap);
GpStatus WINGDIPAPI GdipSetPenEndCap(GpPen* pen, GpLineCap endCap);
GpStatus WINGDIPAPI GdipSetPenDashStyle(GpPen* pen, GpDashStyle dashstyle);
GpStatus WINGDIPAPI GdipGetPenUnit(GpPen* pen, GpUnit* unit);

// Brushes
GpStatus WINGDIPAPI GdipCloneBrush(GpBrush* brush, GpBrush** cloneBrush);
GpStatus WINGDIPAPI GdipDeleteBrush(GpBrush* brush);
GpStatus WINGDIPAPI GdipGetBrushType(GpBrush* brush, GpBrushType* type);
GpStatus WINGDIPAPI GdipCreateSolidFill(ARGB color, GpSolidFill** brush);
GpStatus WINGDIPAPI GdipSetSolidFillColor(GpSolidFill* brush, ARGB color);
GpStatus WINGDIPAPI GdipGetSolidFillColor(GpSolidFill* brush, ARGB* color);
GpStatus WINGDIPAPI GdipCreateLineBrush(GDIPCONST GpPointF* point1, GDIPCONST GpPointF* point2, ARGB color1, ARGB color2,
                                        GpWrapMode wrapMode, GpLineGradient** lineGradient);
GpStatus WINGDIPAPI GdipCreateLineBrushI(GDIPCONST GpPoint* point1, GDIPCONST GpPoint* point2, ARGB color1, ARGB color2,
                                         GpWrapMode wrapMode, GpLineGradient** lineGradient);
GpStatus WINGDIPAPI GdipCreateLineBrushFromRect(GDIPCONST GpRectF* rect, ARGB color1, ARGB color2, LinearGradientMode mode,
                                                GpWrapMode wrapMode, GpLineGradient** lineGradient);
GpStatus WINGDIPAPI GdipCreateLineBrushFromRectI(GDIPCONST GpRect* rect, ARGB color1, ARGB color2, LinearGradientMode mode,
                                                 GpWrapMode wrapMode, GpLineGradient** lineGradient);
GpStatus WINGDIPAPI GdipSetLineColors(GpLineGradient* brush, ARGB color1, ARGB color2);
GpStatus WINGDIPAPI GdipGetLineColors(GpLineGradient* brush, ARGB* colors);
GpStatus WINGDIPAPI GdipSetLineBlend(GpLineGradient* brush, GDIPCONST REAL* blend, GDIPCONST REAL* positions, INT count);
GpStatus WINGDIPAPI GdipSetLinePresetBlend(GpLineGradient* brush, GDIPCONST ARGB* blend, GDIPCONST REAL* positions, INT count);
GpStatus WINGDIPAPI GdipSetLineLinearBlend(GpLineGradient* brush, REAL focus, REAL scale);
GpStatus WINGDIPAPI GdipSetLineWrapMode(GpLineGradient* brush, GpWrapMode wrapmode);
GpStatus WINGDIPAPI GdipGetLineWrapMode(GpLineGradient* brush, GpWrapMode* wrapmode);
GpStatus WINGDIPAPI GdipGetLineRect(GpLineGradient* brush, GpRectF* rect);
GpStatus WINGDIPAPI GdipCreatePathGradient(GDIPCONST GpPointF* points, INT count, GpWrapMode wrapMode, GpPathGradient** polyGradient);
GpStatus WINGDIPAPI GdipCreatePathGradientFromPath(GDIPCONST GpPath* path, GpPathGradient** polyGradient);
GpStatus WINGDIPAPI GdipSetPathGradientCenterColor(GpPathGradient* brush, ARGB colors);
GpStatus WINGDIPAPI GdipGetPathGradientCenterColor(GpPathGradient* brush, ARGB* colors);
GpStatus WINGDIPAPI GdipSetPathGradientSurroundColorsWithCount(GpPathGradient* brush, GDIPCONST ARGB* color, INT* count);
GpStatus WINGDIPAPI GdipGetPathGradientSurroundColorCount(GpPathGradient* brush, INT* count);
GpStatus WINGDIPAPI GdipGetPathGradientPointCount(GpPathGradient* brush, INT* count);
GpStatus WINGDIPAPI GdipSetPathGradientCenterPoint(GpPathGradient* brush, GDIPCONST GpPointF* points);
GpStatus WINGDIPAPI GdipGetPathGradientCenterPoint(GpPathGradient* brush, GpPointF* points);
GpStatus WINGDIPAPI GdipSetPathGradientFocusScales(GpPathGradient* brush, REAL xScale, REAL yScale);
GpStatus WINGDIPAPI GdipGetPathGradientFocusScales(GpPathGradient* brush, REAL* xScale, REAL* yScale);
GpStatus WINGDIPAPI GdipSetPathGradientWrapMode(GpPathGradient* brush, GpWrapMode wrapmode);
GpStatus WINGDIPAPI GdipCreateTexture(GpImage* image, GpWrapMode wrapmode, GpTexture** texture);
GpStatus WINGDIPAPI GdipSetTextureWrapMode(GpTexture* brush, GpWrapMode wrapmode);
GpStatus WINGDIPAPI GdipGetTextureWrapMode(GpTexture* brush, GpWrapMode* wrapmode);
GpStatus WINGDIPAPI GdipGetTextureImage(GpTexture* brush, GpImage** image);
GpStatus WINGDIPAPI GdipTranslateTextureTransform(GpTexture* brush, REAL dx, REAL dy, GpMatrixOrder order);
GpStatus WINGDIPAPI GdipResetTextureTransform(GpTexture* brush);

// Images and bitmaps
GpStatus WINGDIPAPI GdipLoadImageFromStream(IStream* stream, GpImage** image);
GpStatus WINGDIPAPI GdipLoadImageFromStreamICM(IStream* stream, GpImage** image);
GpStatus WINGDIPAPI GdipLoadImageFromFile(GDIPCONST WCHAR* filename, GpImage** image);
GpStatus WINGDIPAPI GdipLoadImageFromFileICM(GDIPCONST WCHAR* filename, GpImage** image);
GpStatus WINGDIPAPI GdipCreateBitmapFromStream(IStream* stream, GpBitmap** bitmap);
GpStatus WINGDIPAPI GdipCreateBitmapFromStreamICM(IStream* stream, GpBitmap** bitmap);
GpStatus WINGDIPAPI GdipCreateBitmapFromFile(GDIPCONST WCHAR* filename, GpBitmap** bitmap);
GpStatus WINGDIPAPI GdipCreateBitmapFromFileICM(GDIPCONST WCHAR* filename, GpBitmap** bitmap);
GpStatus WINGDIPAPI GdipCreateBitmapFromScan0(INT width, INT height, INT stride, PixelFormat format, BYTE* scan0, GpBitmap** bitmap);
GpStatus WINGDIPAPI GdipCreateBitmapFromGraphics(INT width, INT height, GpGraphics* target, GpBitmap** bitmap);
GpStatus WINGDIPAPI GdipCreateBitmapFromHICON(HICON hicon, GpBitmap** bitmap);
GpStatus WINGDIPAPI GdipCreateBitmapFromHBITMAP(HBITMAP hbm, HPALETTE hpal, GpBitmap** bitmap);
GpStatus WINGDIPAPI GdipCreateHBITMAPFromBitmap(GpBitmap* bitmap, HBITMAP* hbmReturn, ARGB background);
GpStatus WINGDIPAPI GdipCloneImage(GpImage* image, GpImage** cloneImage);
GpStatus WINGDIPAPI GdipCloneBitmapAreaI(INT x, INT y, INT width, INT height, PixelFormat format, GpBitmap* srcBitmap, GpBitmap** dstBitmap);
GpStatus WINGDIPAPI GdipDisposeImage(GpImage* image);
GpStatus WINGDIPAPI GdipGetImageType(GpImage* image, ImageType* type);
GpStatus WINGDIPAPI GdipGetImageWidth(GpImage* image, UINT* width);
GpStatus WINGDIPAPI GdipGetImageHeight(GpImage* image, UINT* height);
GpStatus WINGDIPAPI GdipGetImageDimension(GpImage* image, REAL* width, REAL* height);
GpStatus WINGDIPAPI GdipGetImageBounds(GpImage* image, GpRectF* srcRect, GpUnit* srcUnit);
GpStatus WINGDIPAPI GdipGetImageHorizontalResolution(GpImage* image, REAL* resolution);
GpStatus WINGDIPAPI GdipGetImageVerticalResolution(GpImage* image, REAL* resolution);
GpStatus WINGDIPAPI GdipGetImageFlags(GpImage* image, UINT* flags);
GpStatus WINGDIPAPI GdipGetImagePixelFormat(GpImage* image, PixelFormat* format);
GpStatus WINGDIPAPI GdipGetImageRawFormat(GpImage* image, GUID* format);
GpStatus WINGDIPAPI GdipBitmapGetPixel(GpBitmap* bitmap, INT x, INT y, ARGB* color);
GpStatus WINGDIPAPI GdipBitmapSetPixel(GpBitmap* bitmap, INT x, INT y, ARGB color);
GpStatus WINGDIPAPI GdipBitmapLockBits(GpBitmap* bitmap, GDIPCONST GpRect* rect, UINT flags, PixelFormat format, BitmapData* lockedBitmapData);
GpStatus WINGDIPAPI GdipBitmapUnlockBits(GpBitmap* bitmap, BitmapData* lockedBitmapData);
GpStatus WINGDIPAPI GdipGetImageEncodersSize(UINT* numEncoders, UINT* size);
GpStatus WINGDIPAPI GdipGetImageEncoders(UINT numEncoders, UINT size, ImageCodecInfo* encoders);
GpStatus WINGDIPAPI GdipGetImageDecodersSize(UINT* numDecoders, UINT* size);
GpStatus WINGDIPAPI GdipGetImageDecoders(UINT numDecoders, UINT size, ImageCodecInfo* decoders);
GpStatus WINGDIPAPI GdipSaveImageToFile(GpImage* image, GDIPCONST WCHAR* filename, GDIPCONST CLSID* clsidEncoder,
                                        GDIPCONST EncoderParameters* encoderParams);
GpStatus WINGDIPAPI GdipSaveImageToStream(GpImage* image, IStream* stream, GDIPCONST CLSID* clsidEncoder,
                                          GDIPCONST EncoderParameters* encoderParams);

// Fonts and text
GpStatus WINGDIPAPI GdipCreateFontFamilyFromName(GDIPCONST WCHAR* name, GpFontCollection* fontCollection, GpFontFamily** fontFamily);
GpStatus WINGDIPAPI GdipCloneFontFamily(GpFontFamily* fontFamily, GpFontFamily** clonedFontFamily);
GpStatus WINGDIPAPI GdipDeleteFontFamily(GpFontFamily* fontFamily);
GpStatus WINGDIPAPI GdipGetGenericFontFamilySansSerif(GpFontFamily** nativeFamily);
GpStatus WINGDIPAPI GdipGetGenericFontFamilySerif(GpFontFamily** nativeFamily);
GpStatus WINGDIPAPI GdipGetGenericFontFamilyMonospace(GpFontFamily** nativeFamily);
GpStatus WINGDIPAPI GdipGetFamilyName(GDIPCONST GpFontFamily* family, WCHAR name[LF_FACESIZE], LANGID language);
GpStatus WINGDIPAPI GdipIsStyleAvailable(GDIPCONST GpFontFamily* family, INT style, BOOL* isStyleAvailable);
GpStatus WINGDIPAPI GdipGetEmHeight(GDIPCONST GpFontFamily* family, INT style, UINT16* EmHeight);
GpStatus WINGDIPAPI GdipGetCellAscent(GDIPCONST GpFontFamily* family, INT style, UINT16* CellAscent);
GpStatus WINGDIPAPI GdipGetCellDescent(GDIPCONST GpFontFamily* family, INT style, UINT16* CellDescent);
GpStatus WINGDIPAPI GdipGetLineSpacing(GDIPCONST GpFontFamily* family, INT style, UINT16* LineSpacing);
GpStatus WINGDIPAPI GdipCreateFont(GDIPCONST GpFontFamily* fontFamily, REAL emSize, INT style, Unit unit, GpFont** font);
GpStatus WINGDIPAPI GdipCreateFontFromDC(HDC hdc, GpFont** font);
GpStatus WINGDIPAPI GdipCreateFontFromLogfontA(HDC hdc, GDIPCONST LOGFONTA* logfont, GpFont** font);
GpStatus WINGDIPAPI GdipCreateFontFromLogfontW(HDC hdc, GDIPCONST LOGFONTW* logfont, GpFont** font);
GpStatus WINGDIPAPI GdipCloneFont(GpFont* font, GpFont** cloneFont);
GpStatus WINGDIPAPI GdipDeleteFont(GpFont* font);
GpStatus WINGDIPAPI GdipGetFamily(GpFont* font, GpFontFamily** family);
GpStatus WINGDIPAPI GdipGetFontStyle(GpFont* font, INT* style);
GpStatus WINGDIPAPI GdipGetFontSize(GpFont* font, REAL* size);
GpStatus WINGDIPAPI GdipGetFontUnit(GpFont* font, Unit* unit);
GpStatus WINGDIPAPI GdipGetFontHeight(GDIPCONST GpFont* font, GDIPCONST GpGraphics* graphics, REAL* height);
GpStatus WINGDIPAPI GdipGetFontHeightGivenDPI(GDIPCONST GpFont* font, REAL dpi, REAL* height);
GpStatus WINGDIPAPI GdipGetLogFontA(GpFont* font, GpGraphics* graphics, LOGFONTA* logfontA);

GpStatus WINGDIPAPI GdipCreateStringFormat(INT formatAttributes, LANGID language, GpStringFormat** format);
GpStatus WINGDIPAPI GdipStringFormatGetGenericDefault(GpStringFormat** format);
GpStatus WINGDIPAPI GdipStringFormatGetGenericTypographic(GpStringFormat** format);
GpStatus WINGDIPAPI GdipCloneStringFormat(GDIPCONST GpStringFormat* format, GpStringFormat** newFormat);
GpStatus WINGDIPAPI GdipDeleteStringFormat(GpStringFormat* format);
GpStatus WINGDIPAPI GdipSetStringFormatFlags(GpStringFormat* format, INT flags);
GpStatus WINGDIPAPI GdipGetStringFormatFlags(GDIPCONST GpStringFormat* format, INT* flags);
GpStatus WINGDIPAPI GdipSetStringFormatAlign(GpStringFormat* format, StringAlignment align);
GpStatus WINGDIPAPI GdipGetStringFormatAlign(GDIPCONST GpStringFormat* format, StringAlignment* align);
GpStatus WINGDIPAPI GdipSetStringFormatLineAlign(GpStringFormat* format, StringAlignment align);
GpStatus WINGDIPAPI GdipGetStringFormatLineAlign(GDIPCONST GpStringFormat* format, StringAlignment* align);
GpStatus WINGDIPAPI GdipSetStringFormatTrimming(GpStringFormat* format, StringTrimming trimming);
GpStatus WINGDIPAPI GdipGetStringFormatTrimming(GDIPCONST GpStringFormat* format, StringTrimming* trimming);
GpStatus WINGDIPAPI GdipSetStringFormatHotkeyPrefix(GpStringFormat* format, INT hotkeyPrefix);
GpStatus WINGDIPAPI GdipGetStringFormatHotkeyPrefix(GDIPCONST GpStringFormat* format, INT* hotkeyPrefix);

// Regions
GpStatus WINGDIPAPI GdipCreateRegion(GpRegion** region);
GpStatus WINGDIPAPI GdipCreateRegionRect(GDIPCONST GpRectF* rect, GpRegion** region);
GpStatus WINGDIPAPI GdipCreateRegionRectI(GDIPCONST GpRect* rect, GpRegion** region);
GpStatus WINGDIPAPI GdipCreateRegionPath(GpPath* path, GpRegion** region);
GpStatus WINGDIPAPI GdipCloneRegion(GpRegion* region, GpRegion** cloneRegion);
GpStatus WINGDIPAPI GdipDeleteRegion(GpRegion* region);
GpStatus WINGDIPAPI GdipSetInfinite(GpRegion* region);
GpStatus WINGDIPAPI GdipSetEmpty(GpRegion* region);
GpStatus WINGDIPAPI GdipCombineRegionRect(GpRegion* region, GDIPCONST GpRectF* rect, CombineMode combineMode);
GpStatus WINGDIPAPI GdipCombineRegionRectI(GpRegion* region, GDIPCONST GpRect* rect, CombineMode combineMode);
GpStatus WINGDIPAPI GdipCombineRegionPath(GpRegion* region, GpPath* path, CombineMode combineMode);
GpStatus WINGDIPAPI GdipCombineRegionRegion(GpRegion* region, GpRegion* region2, CombineMode combineMode);
GpStatus WINGDIPAPI GdipTranslateRegion(GpRegion* region, REAL dx, REAL dy);
GpStatus WINGDIPAPI GdipIsVisibleRegionPoint(GpRegion* region, REAL x, REAL y, GpGraphics* graphics, BOOL* result);
GpStatus WINGDIPAPI GdipIsEmptyRegion(GpRegion* region, GpGraphics* graphics, BOOL* result);
GpStatus WINGDIPAPI GdipIsInfiniteRegion(GpRegion* region, GpGraphics* graphics, BOOL* result);
GpStatus WINGDIPAPI GdipGetRegionBounds(GpRegion* region, GpGraphics* graphics, GpRectF* rect);

} // extern "C"

} // namespace DllExports
} // namespace Gdiplus

#endif
