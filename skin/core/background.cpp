#include "skin/core/background.h"

#include "skin/core/properties.h"
#include "skin/core/registry.h"

namespace velkaro::skin {

// Measuring and fading the picture come with the frame painter; until then
// the picture is only accepted for an attached window.
int setBackgroundPicture(HWND window, const Bytes& picture, std::optional<int> layout)
{
    int slot = propInt(window, kPropListId);
    if (!isValidSlot(slot) || picture.empty())
        return 0;
    return 0;
}

} // namespace velkaro::skin
