#include "skin/core/tool_tip.h"

#include <commctrl.h>

namespace velkaro::skin {

namespace {

TTTOOLINFOA toolInfo(HWND owner, UINT id, const std::string* text)
{
    TTTOOLINFOA info{};
    info.cbSize = sizeof info;
    info.uFlags = TTF_SUBCLASS;
    info.hwnd = owner;
    info.uId = id;
    info.lpszText = text ? const_cast<char*>(text->c_str()) : nullptr;
    return info;
}

} // namespace

void ToolTip::create(HWND owner, std::optional<int> balloon)
{
    m_owner = owner;
    DWORD style = TTS_ALWAYSTIP;
    if (balloon && *balloon != 0)
        style |= TTS_BALLOON;
    m_window = CreateWindowExA(0, TOOLTIPS_CLASSA, "", style, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT,
                               CW_USEDEFAULT, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    if (m_window)
        SendMessageA(m_window, TTM_SETMAXTIPWIDTH, 0, 600);
}

void ToolTip::addTool(std::optional<RECT> rect, const std::string& text, UINT id)
{
    if (!m_window)
        return;
    TTTOOLINFOA info = toolInfo(m_owner, id, &text);
    if (rect)
        info.rect = *rect;
    else
        GetClientRect(m_owner, &info.rect);
    SendMessageA(m_window, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&info));
}

void ToolTip::moveTool(UINT id, const RECT& rect)
{
    if (!m_window)
        return;
    TTTOOLINFOA info = toolInfo(m_owner, id, nullptr);
    info.rect = rect;
    SendMessageA(m_window, TTM_NEWTOOLRECTA, 0, reinterpret_cast<LPARAM>(&info));
}

void ToolTip::setToolText(UINT id, const std::string& text)
{
    if (!m_window)
        return;
    TTTOOLINFOA info = toolInfo(m_owner, id, &text);
    SendMessageA(m_window, TTM_UPDATETIPTEXTA, 0, reinterpret_cast<LPARAM>(&info));
}

} // namespace velkaro::skin
