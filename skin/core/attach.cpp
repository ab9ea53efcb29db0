#include "skin/core/attach.h"

namespace velkaro::skin {

// The skinned window procedure and the frame painter come next; until they
// do, an attached window keeps the system look and nothing is registered.
void attachWindow(HWND, const AttachOptions&) {}

} // namespace velkaro::skin
