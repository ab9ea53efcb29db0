#include "skin/core/registry.h"

namespace velkaro::skin {

SkinRegistry& skinRegistry()
{
    static SkinRegistry registry("SkinRegistry");
    return registry;
}

int findSkinSlot(HWND window)
{
    if (!window)
        return 0;
    SkinRegistry& registry = skinRegistry();
    for (int slot = 1; slot <= registry.count(); ++slot)
        if (registry.at(slot).hwnd == window)
            return slot;
    return 0;
}

int findSkinSlotUpward(HWND window)
{
    if (int slot = findSkinSlot(window))
        return slot;
    HWND rootOwner = window ? GetAncestor(window, GA_ROOTOWNER) : nullptr;
    // The parent chain is finite, but a window destroyed under our feet
    // could in principle show a cycle; the depth guard keeps the walk finite.
    int depth = 0;
    for (HWND w = window; w && depth < 256; ++depth) {
        if (w == rootOwner)
            break;
        w = GetParent(w);
        if (int slot = findSkinSlot(w))
            return slot;
    }
    if (rootOwner && rootOwner != window)
        return findSkinSlot(rootOwner);
    return 0;
}

int findContainerIndex(int slot, HWND window)
{
    if (!window || !isValidSlot(slot))
        return 0;
    SkinList<ContainerEntry>& containers = skinAt(slot).containers;
    for (int i = 1; i <= containers.count(); ++i)
        if (containers.at(i).hwnd == window)
            return i;
    return 0;
}

} // namespace velkaro::skin
