// Icons and cursors share one handle table, as HICON and HCURSOR are one type
// on Win32. The icon area defines IconObject; the cursor area CursorObject.
#pragma once

#include "core/handle_table.h"

#include <windef.h>

namespace vk {

struct UserObject {
    enum class Kind { Icon, Cursor };
    explicit UserObject(Kind k) : kind(k) {}
    virtual ~UserObject() = default;
    Kind kind;
    // Shared objects (system icons and cursors, LR_SHARED loads) survive DestroyIcon.
    bool shared = false;
};

HandleTable<UserObject>& userObjects();

} // namespace vk
