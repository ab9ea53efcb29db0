// comctl32's entry points: the classes register with the window manager's
// system classes, and every export is reachable through GetProcAddress.
#include "controls/common/control_base.h"
#include "core/last_error.h"
#include "core/modules.h"
#include "user/classes.h"

namespace vk::comctl {
void registerProgress();
void registerTrackbar();
void registerUpDown();
void registerHeader();
void registerToolbar();
void registerTooltips();
void registerIpAddress();
void registerDateTime();
void registerListView();
void registerTreeView();

namespace {
void registerAll()
{
    registerProgress();
    registerTrackbar();
    registerUpDown();
    registerHeader();
    registerToolbar();
    registerTooltips();
    registerIpAddress();
    registerDateTime();
    registerListView();
    registerTreeView();
}
} // namespace
} // namespace vk::comctl

void WINAPI InitCommonControls(void)
{
    vk::user::ensureSystemClasses();
}

BOOL WINAPI InitCommonControlsEx(const INITCOMMONCONTROLSEX* icc)
{
    if (!icc || icc->dwSize != sizeof(INITCOMMONCONTROLSEX))
        return vk::failWith(ERROR_INVALID_PARAMETER, FALSE);
    vk::user::ensureSystemClasses();
    return TRUE;
}

namespace {
struct Comctl32Setup {
    Comctl32Setup()
    {
        vk::user::systemClassRegistrars().push_back(&vk::comctl::registerAll);
        static const vk::ModuleExport exports[] = {
            {"InitCommonControls", vk::exportProc(&InitCommonControls)},
            {"InitCommonControlsEx", vk::exportProc(&InitCommonControlsEx)},
            {"ImageList_Create", vk::exportProc(&ImageList_Create)},
            {"ImageList_Destroy", vk::exportProc(&ImageList_Destroy)},
            {"ImageList_GetImageCount", vk::exportProc(&ImageList_GetImageCount)},
            {"ImageList_SetImageCount", vk::exportProc(&ImageList_SetImageCount)},
            {"ImageList_Add", vk::exportProc(&ImageList_Add)},
            {"ImageList_AddMasked", vk::exportProc(&ImageList_AddMasked)},
            {"ImageList_ReplaceIcon", vk::exportProc(&ImageList_ReplaceIcon)},
            {"ImageList_Replace", vk::exportProc(&ImageList_Replace)},
            {"ImageList_Remove", vk::exportProc(&ImageList_Remove)},
            {"ImageList_GetIcon", vk::exportProc(&ImageList_GetIcon)},
            {"ImageList_GetIconSize", vk::exportProc(&ImageList_GetIconSize)},
            {"ImageList_SetIconSize", vk::exportProc(&ImageList_SetIconSize)},
            {"ImageList_GetImageInfo", vk::exportProc(&ImageList_GetImageInfo)},
            {"ImageList_SetBkColor", vk::exportProc(&ImageList_SetBkColor)},
            {"ImageList_GetBkColor", vk::exportProc(&ImageList_GetBkColor)},
            {"ImageList_Draw", vk::exportProc(&ImageList_Draw)},
            {"ImageList_DrawEx", vk::exportProc(&ImageList_DrawEx)},
        };
        vk::registerModuleExports("comctl32.dll", exports, sizeof exports / sizeof exports[0]);
    }
} g_comctl32Setup;
} // namespace
