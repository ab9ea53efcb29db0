// The editor window: the picture area, the change and save buttons and the
// style list.
#pragma once

#include <windows.h>

namespace velkaro::app {

inline constexpr const char* kEditorWindowClass = "VelkaroEditorWindow";
inline constexpr int kPictureAreaId = 2001;
inline constexpr int kChangeButtonId = 2002;
inline constexpr int kSaveButtonId = 2003;
inline constexpr int kStyleListId = 2004;

void registerEditorWindowClass();
HWND createEditorWindow();

} // namespace velkaro::app
