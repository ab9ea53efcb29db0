// The entries of a record's control lists. Each begins with the control's
// window handle and the procedure it had before the skin; the control skins
// add the state they keep. The blank entry every list starts with has
// handle 0.
#pragma once

#include <windows.h>

namespace velkaro::skin {

struct ControlEntryBase {
    HWND hwnd = nullptr;
    WNDPROC prevProc = nullptr;
};

struct ButtonEntry : ControlEntryBase {};
struct EditEntry : ControlEntryBase {};
struct ComboEntry : ControlEntryBase {};
struct TrackBarEntry : ControlEntryBase {};
struct ProgressBarEntry : ControlEntryBase {};
struct ListControlEntry : ControlEntryBase {};
struct UpDownEntry : ControlEntryBase {};
struct HeaderEntry : ControlEntryBase {};
struct ToolbarEntry : ControlEntryBase {
    int needsRepaint = 0;  // the toolbar's cached picture is stale
};

// Hover tracking: the kind of control last drawn in its hover look.
enum ControlKind : int {
    kKindPushButton = 0,
    kKindEdit = 1,
    kKindTrackBar = 2,
    kKindCombo = 3,
    kKindList = 4,
    kKindUpDown = 8,
    kKindHeader = 9,
};

} // namespace velkaro::skin
