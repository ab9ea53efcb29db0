// What every modal box of the layer does the same way: disable its owner
// while it runs, run the nested message loop with dialog keyboard handling,
// and sit centred over its owner.
#pragma once

#include <windows.h>

#include <functional>
#include <vector>

namespace vk::dialogs {

// The top-level window a box belongs to (the root of hwnd), or null.
HWND modalOwnerOf(HWND hwnd);

// Disables the owner, or every enabled top-level window when taskModal, for
// the scope's life; enableNow gives them back early (before the box goes, so
// activation returns to the owner).
class DisabledOwners {
public:
    DisabledOwners(HWND owner, bool taskModal);
    ~DisabledOwners() { enableNow(); }
    DisabledOwners(const DisabledOwners&) = delete;
    DisabledOwners& operator=(const DisabledOwners&) = delete;
    void enableNow();

private:
    std::vector<HWND> m_disabled;
};

struct ModalHooks {
    // Sees each message first; true means it was handled.
    std::function<bool(MSG&)> preTranslate;
    // Runs after each message, e.g. to follow the focus.
    std::function<void()> afterMessage;
};

// Runs until finished() says so. False when the loop ended otherwise: the box
// was destroyed, WM_QUIT came (it is posted again for the outer loop) or,
// headless, the scripted input ran out.
bool runModalLoop(HWND box, const std::function<bool()>& finished, const ModalHooks& hooks = {});

// Window position of a box of the given size: centred on the owner (or the
// work area) and kept inside the work area.
POINT centredPosition(HWND owner, int width, int height);

} // namespace vk::dialogs
