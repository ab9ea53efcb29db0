#include "skin/core/engine.h"

#include "skin/core/registry.h"

#include <velkaro/gfx/dc_cache.h>
#include <velkaro/gfx/flat_api.h>

namespace velkaro::skin {

EngineSettings& engineSettings()
{
    static EngineSettings settings;
    return settings;
}

void createGlobalLists()
{
    skinRegistry().clear();
    gfx::createDcCache();
}

int initSkinEngine()
{
    EngineSettings& s = engineSettings();
    ULONG_PTR token = 0;
    if (!gfx::startGdiplus(&token))
        token = 0;
    s.gdiplusToken = token;
    s.quitGdiplusToken = token;

    HINSTANCE self = GetModuleHandleA(nullptr);
    s.skinIcon = LoadIconA(self, MAKEINTRESOURCEA(129));
    if (!s.skinIcon)
        s.skinIcon = LoadIconA(self, "DEFAULT_ICON");

    s.firstSizePending = 1;
    s.childSkinning = 1;
    s.skinColor = 0xDDCA22;
    return 0;
}

void shutdownGdiplus(std::optional<ULONG_PTR> token)
{
    ULONG_PTR t;
    if (token) {
        t = *token;
    } else {
        t = engineSettings().gdiplusToken;
        engineSettings().gdiplusToken = 0;
    }
    if (t)
        gfx::stopGdiplus(t);
}

void releaseSkinEngine()
{
    skinRegistry().clear();
    gfx::freeDcCache();
}

} // namespace velkaro::skin
