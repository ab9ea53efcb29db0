// Icons: the IconObject behind an HICON, the registered icon and bitmap
// resources, and the pictures of the system icons.
#pragma once

#include "user/user_objects.h"

#include <windef.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace vk::gdi {

// A picture: width * height straight-alpha 0xAARRGGBB words, top row first.
struct Picture {
    int width = 0;
    int height = 0;
    std::vector<uint32_t> pixels;
};

struct IconObject : UserObject {
    IconObject() : UserObject(Kind::Icon) {}
    int width = 0;
    int height = 0;
    bool isIcon = true;
    DWORD hotX = 0, hotY = 0;
    // With alpha, pixels are drawn blended and mask follows the alpha. Without,
    // Win32's two masks apply: screen = (screen AND mask) XOR pixels.
    bool hasAlpha = false;
    bool mono = false;              // made from a mask bitmap only
    std::vector<uint32_t> pixels;   // straight alpha, or the XOR image
    std::vector<uint8_t> mask;      // 1: transparent (AND bit set)
};

IconObject* getIcon(HICON h);
// A new icon from a straight-alpha picture (mask from alpha); the table owns it.
HICON iconFromPicture(const Picture& p, bool shared);
// Nearest or averaged resampling of a picture to w x h.
Picture scalePicture(const Picture& p, int w, int h);

// Registered resources; null when missing.
const Picture* findIconResource(HINSTANCE inst, const char* name);
const Picture* findBitmapResource(HINSTANCE inst, const char* name);
// A stable key for caching loads of a resource name.
std::string resourceKey(HINSTANCE inst, const char* name);

// The procedurally drawn system icon for an IDI_* number (32 x 32), or null.
const Picture* systemIconPicture(int id);

} // namespace vk::gdi
