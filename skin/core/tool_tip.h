// The tooltip window of a record's caption buttons. The object only refers
// to the window: destroying the object leaves the window alive, as it lives
// for the whole program. Before create() every operation does nothing.
#pragma once

#include <windows.h>

#include <optional>
#include <string>

namespace velkaro::skin {

class ToolTip {
public:
    void create(HWND owner, std::optional<int> balloon = std::nullopt);
    void addTool(std::optional<RECT> rect, const std::string& text, UINT id);
    void moveTool(UINT id, const RECT& rect);
    void setToolText(UINT id, const std::string& text);

    HWND window() const { return m_window; }
    HWND owner() const { return m_owner; }

private:
    HWND m_window = nullptr;
    HWND m_owner = nullptr;
};

} // namespace velkaro::skin
