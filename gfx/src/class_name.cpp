// Window class names.
#include <velkaro/gfx/class_name.h>

namespace velkaro::gfx {

namespace {
constexpr int kClassNameBytes = 255;
}

std::string className(HWND hwnd)
{
    char name[kClassNameBytes] = {};
    int length = GetClassNameA(hwnd, name, kClassNameBytes);
    return length > 0 ? std::string(name, size_t(length)) : std::string();
}

} // namespace velkaro::gfx
