/* GDI+ of the Velkaro platform layer: the types and the flat interface of
 * gdiplus.dll. Programs call the flat functions directly or through
 * LoadLibraryA("gdiplus.dll") and GetProcAddress. */
#ifndef VELKARO_GDIPLUS_H
#define VELKARO_GDIPLUS_H

#include <windows.h>

#include <gdiplustypes.h>
#include <gdiplusenums.h>
#include <gdipluspixelformats.h>
#include <gdiplusimaging.h>
#include <gdiplusinit.h>
#include <gdiplusgpstubs.h>
#include <gdiplusflat.h>

#endif
