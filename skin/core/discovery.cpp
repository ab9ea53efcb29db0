#include "skin/core/discovery.h"

#include "skin/core/engine.h"

namespace velkaro::skin {

namespace {

using AttachRoutine = void (*)(int slot, HWND parent);

// In this order: push buttons; check boxes and radio buttons; edit and combo
// boxes; track bars; progress bars; list-type controls; up-down controls;
// list-view headers; toolbars. Each control family adds its routine here.
constexpr AttachRoutine kAttachRoutines[] = {nullptr};

} // namespace

void attachChildControls(int slot, HWND parent)
{
    for (AttachRoutine routine : kAttachRoutines)
        if (routine)
            routine(slot, parent);
}

} // namespace velkaro::skin
