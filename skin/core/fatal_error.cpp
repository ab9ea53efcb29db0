#include "skin/core/fatal_error.h"

#include <windows.h>

#include <cstdio>
#include <cstdlib>

namespace velkaro::skin {

void fatalPositionError(const char* list, int position, int count)
{
    char text[160];
    std::snprintf(text, sizeof text, "运行时错误：%s 的位置 %d 超出范围 (1..%d)。程序将结束。", list, position, count);
    std::fputs(text, stderr);
    std::fputc('\n', stderr);
    MessageBoxA(nullptr, text, "Velkaro", MB_OK | MB_ICONERROR);
    std::_Exit(3);
}

} // namespace velkaro::skin
