/* GDI+ base types: status codes, REAL, points, sizes and rectangles. */
#ifndef VELKARO_GDIPLUSTYPES_H
#define VELKARO_GDIPLUSTYPES_H

#include <windef.h>

namespace Gdiplus {

typedef float REAL;

enum Status {
    Ok = 0,
    GenericError = 1,
    InvalidParameter = 2,
    OutOfMemory = 3,
    ObjectBusy = 4,
    InsufficientBuffer = 5,
    NotImplemented = 6,
    Win32Error = 7,
    WrongState = 8,
    Aborted = 9,
    FileNotFound = 10,
    ValueOverflow = 11,
    AccessDenied = 12,
    UnknownImageFormat = 13,
    FontFamilyNotFound = 14,
    FontStyleNotFound = 15,
    NotTrueTypeFont = 16,
    UnsupportedGdiplusVersion = 17,
    GdiplusNotInitialized = 18,
    PropertyNotFound = 19,
    PropertyNotSupported = 20
};

typedef BOOL(CALLBACK* ImageAbort)(VOID*);
typedef ImageAbort DrawImageAbort;
typedef ImageAbort GetThumbnailImageAbort;
typedef BOOL(CALLBACK* EnumerateMetafileProc)(int, UINT, UINT, const BYTE*, VOID*);

class SizeF {
public:
    SizeF() : Width(0), Height(0) {}
    SizeF(REAL width, REAL height) : Width(width), Height(height) {}
    REAL Width;
    REAL Height;
};

class Size {
public:
    Size() : Width(0), Height(0) {}
    Size(INT width, INT height) : Width(width), Height(height) {}
    INT Width;
    INT Height;
};

class PointF {
public:
    PointF() : X(0), Y(0) {}
    PointF(REAL x, REAL y) : X(x), Y(y) {}
    bool Equals(const PointF& p) const { return X == p.X && Y == p.Y; }
    REAL X;
    REAL Y;
};

class Point {
public:
    Point() : X(0), Y(0) {}
    Point(INT x, INT y) : X(x), Y(y) {}
    bool Equals(const Point& p) const { return X == p.X && Y == p.Y; }
    INT X;
    INT Y;
};

class RectF {
public:
    RectF() : X(0), Y(0), Width(0), Height(0) {}
    RectF(REAL x, REAL y, REAL width, REAL height) : X(x), Y(y), Width(width), Height(height) {}
    REAL GetLeft() const { return X; }
    REAL GetTop() const { return Y; }
    REAL GetRight() const { return X + Width; }
    REAL GetBottom() const { return Y + Height; }
    bool IsEmptyArea() const { return Width <= 0 || Height <= 0; }
    bool Contains(REAL x, REAL y) const { return x >= X && x < X + Width && y >= Y && y < Y + Height; }
    REAL X;
    REAL Y;
    REAL Width;
    REAL Height;
};

class Rect {
public:
    Rect() : X(0), Y(0), Width(0), Height(0) {}
    Rect(INT x, INT y, INT width, INT height) : X(x), Y(y), Width(width), Height(height) {}
    INT GetLeft() const { return X; }
    INT GetTop() const { return Y; }
    INT GetRight() const { return X + Width; }
    INT GetBottom() const { return Y + Height; }
    bool IsEmptyArea() const { return Width <= 0 || Height <= 0; }
    bool Contains(INT x, INT y) const { return x >= X && x < X + Width && y >= Y && y < Y + Height; }
    INT X;
    INT Y;
    INT Width;
    INT Height;
};

} // namespace Gdiplus

#endif
