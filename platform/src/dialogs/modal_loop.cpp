// The nested loop of modal boxes and the owner bookkeeping around it.
#include "dialogs/modal_loop.h"

#include "user/window.h"

#include <algorithm>

namespace vk::dialogs {

HWND modalOwnerOf(HWND hwnd)
{
    if (!hwnd || !IsWindow(hwnd))
        return nullptr;
    return GetAncestor(hwnd, GA_ROOT);
}

DisabledOwners::DisabledOwners(HWND owner, bool taskModal)
{
    std::vector<HWND> candidates;
    if (taskModal) {
        for (user::Window* t : user::state().topLevels)
            candidates.push_back(t->hwnd);
    } else if (owner) {
        candidates.push_back(owner);
    }
    // A window some outer box already disabled stays disabled after this one.
    for (HWND h : candidates)
        if (IsWindowEnabled(h)) {
            EnableWindow(h, FALSE);
            m_disabled.push_back(h);
        }
}

void DisabledOwners::enableNow()
{
    for (HWND h : m_disabled)
        if (IsWindow(h))
            EnableWindow(h, TRUE);
    m_disabled.clear();
}

bool runModalLoop(HWND box, const std::function<bool()>& finished, const ModalHooks& hooks)
{
    while (!finished()) {
        if (!IsWindow(box))
            return false;
        MSG m;
        if (!PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE)) {
            if (!user::waitForWork(true))
                return false;
            continue;
        }
        if (m.message == WM_QUIT) {
            PostQuitMessage(int(m.wParam));
            return false;
        }
        if (!(hooks.preTranslate && hooks.preTranslate(m)) && !IsDialogMessageA(box, &m)) {
            TranslateMessage(&m);
            DispatchMessageA(&m);
        }
        if (hooks.afterMessage)
            hooks.afterMessage();
    }
    return true;
}

POINT centredPosition(HWND owner, int width, int height)
{
    RECT work{};
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    RECT around = work;
    if (owner && IsWindowVisible(owner) && !IsIconic(owner))
        GetWindowRect(owner, &around);
    int x = around.left + (around.right - around.left - width) / 2;
    int y = around.top + (around.bottom - around.top - height) / 2;
    x = std::max<int>(work.left, std::min<int>(x, work.right - width));
    y = std::max<int>(work.top, std::min<int>(y, work.bottom - height));
    return {x, y};
}

} // namespace vk::dialogs
