// Xlib for the backend's sources. X.h defines Expose and CursorShape as
// macros, which clash with vk::InputEvent::Type::Expose and vk::CursorShape;
// the event type is kept as kXExpose and the macros are dropped.
#pragma once

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XShm.h>

inline constexpr int kXExpose = Expose;
#undef Expose
#undef CursorShape
