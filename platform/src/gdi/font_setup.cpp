// fontconfig and Pango set-up shared by GDI and GDI+ text (see font_setup.h).
#include "gdi/font_setup.h"

#include <fontconfig/fontconfig.h>
#include <pango/pangocairo.h>
#include <pango/pangofc-fontmap.h>

#include <mutex>

namespace vk::gdi {

namespace {

// The Windows Song faces of a GB2312 system are shown with AR PL UMing CN;
// its embedded bitmaps keep 12-pixel text as crisp as the original.
const char kFontConfigXml[] = R"(<?xml version="1.0"?>
<!DOCTYPE fontconfig SYSTEM "fonts.dtd">
<fontconfig>
  <alias binding="same"><family>宋体</family><prefer><family>AR PL UMing CN</family></prefer></alias>
  <alias binding="same"><family>SimSun</family><prefer><family>AR PL UMing CN</family></prefer></alias>
  <alias binding="same"><family>新宋体</family><prefer><family>AR PL UMing CN</family></prefer></alias>
  <alias binding="same"><family>NSimSun</family><prefer><family>AR PL UMing CN</family></prefer></alias>
  <match target="font">
    <test name="family" compare="contains"><string>AR PL UMing</string></test>
    <edit name="embeddedbitmap" mode="assign"><bool>true</bool></edit>
  </match>
</fontconfig>
)";

PangoFontMap* g_map = nullptr;

void setUp()
{
    FcConfig* config = FcInitLoadConfigAndFonts();
    if (config) {
        FcConfigParseAndLoadFromMemory(config, reinterpret_cast<const FcChar8*>(kFontConfigXml), FcTrue);
        FcConfigSetCurrent(config); // takes its own reference
    }
    g_map = pango_cairo_font_map_new_for_font_type(CAIRO_FONT_TYPE_FT);
    if (!g_map)
        g_map = pango_cairo_font_map_new();
    if (config && PANGO_IS_FC_FONT_MAP(g_map))
        pango_fc_font_map_set_config(PANGO_FC_FONT_MAP(g_map), config);
    if (config)
        FcConfigDestroy(config);
    pango_cairo_font_map_set_default(PANGO_CAIRO_FONT_MAP(g_map));
}

} // namespace

void ensureFontSetup()
{
    static std::once_flag once;
    std::call_once(once, setUp);
}

PangoFontMap* fontMap()
{
    ensureFontSetup();
    return g_map;
}

} // namespace vk::gdi
