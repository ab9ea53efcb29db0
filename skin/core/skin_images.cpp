#include "skin/core/skin_images.h"

#include <velkaro/assets.h>

namespace velkaro::skin {

namespace {

Bytes copyOf(assets::Blob blob) { return Bytes(blob.data, blob.data + blob.size); }

SkinImages load()
{
    using assets::CaptionGlyph;
    SkinImages images;
    images.windowBackground = copyOf(assets::windowBackgroundImage());
    images.helpGlyph = copyOf(assets::captionGlyphImage(CaptionGlyph::Help));
    images.menuGlyph = copyOf(assets::captionGlyphImage(CaptionGlyph::MainMenu));
    images.minimizeGlyph = copyOf(assets::captionGlyphImage(CaptionGlyph::Minimize));
    images.maximizeGlyph = copyOf(assets::captionGlyphImage(CaptionGlyph::Maximize));
    images.restoreGlyph = copyOf(assets::captionGlyphImage(CaptionGlyph::Restore));
    images.closeGlyph = copyOf(assets::captionGlyphImage(CaptionGlyph::Close));
    images.checkMark = copyOf(assets::checkMarkImage());
    images.arrowUp = copyOf(assets::arrowUpImage());
    images.arrowDown = copyOf(assets::arrowDownImage());
    images.arrowLeft = copyOf(assets::arrowLeftImage());
    images.arrowRight = copyOf(assets::arrowRightImage());
    return images;
}

} // namespace

const SkinImages& skinImages()
{
    static const SkinImages images = load();
    return images;
}

} // namespace velkaro::skin
