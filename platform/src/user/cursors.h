// Cursors: the shared system cursors and the cursor shown now.
#pragma once

#include "backend/backend.h"
#include "user/user_objects.h"

#include <windows.h>

#include <string>

namespace vk::user {

struct CursorObject : UserObject {
    CursorObject() : UserObject(Kind::Cursor) {}
    CursorShape shape = CursorShape::Arrow;
};

// The cursor position as the message loop last saw it (screen coordinates).
POINT currentCursor();
void setCursorTracked(POINT pt);
// The text a key-down typed, for TranslateMessage.
const std::string* keyTextFor(const MSG& m);
void setKeyDownState(int vk, bool down);
HCURSOR systemCursor(CursorShape shape);

} // namespace vk::user
