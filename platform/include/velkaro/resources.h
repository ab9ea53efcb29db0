/* Resources of a program. There is no resource compiler on this platform:
 * a program registers its icons (and bitmaps) by number or name at start-up,
 * and LoadIconA / LoadImageA find them as on Windows. */
#ifndef VELKARO_RESOURCES_H
#define VELKARO_RESOURCES_H

#include <windef.h>

VK_BEGIN_C

/* Registers an icon resource of module hInstance (NULL = the program) under
 * name, which is a string or MAKEINTRESOURCEA(number). pixels holds width *
 * height straight-alpha 0xAARRGGBB words, top row first; they are copied.
 * Registering a name again replaces the picture. Returns FALSE for bad
 * arguments. */
BOOL WINAPI VkRegisterIconResource(HINSTANCE hInstance, LPCSTR name, int width, int height, const DWORD* pixels);

/* Registers a bitmap resource (LoadImageA with IMAGE_BITMAP, LoadBitmapA). */
BOOL WINAPI VkRegisterBitmapResource(HINSTANCE hInstance, LPCSTR name, int width, int height, const DWORD* pixels);

VK_END_C

#endif
