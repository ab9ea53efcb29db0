// Lookup functions over the embedded asset arrays.
#include <velkaro/assets.h>

namespace velkaro::assets {

namespace {
#include "program_icon_pixels.inc"
}  // namespace

Blob windowBackgroundImage() { return {windowBackground, windowBackground_size}; }

Blob captionGlyphImage(CaptionGlyph glyph)
{
    switch (glyph) {
    case CaptionGlyph::Help: return {captionHelp, captionHelp_size};
    case CaptionGlyph::MainMenu: return {captionMainMenu, captionMainMenu_size};
    case CaptionGlyph::Minimize: return {captionMinimize, captionMinimize_size};
    case CaptionGlyph::Maximize: return {captionMaximize, captionMaximize_size};
    case CaptionGlyph::Restore: return {captionRestore, captionRestore_size};
    case CaptionGlyph::Close: return {captionClose, captionClose_size};
    }
    return {nullptr, 0};
}

Blob checkMarkImage() { return {checkMark, checkMark_size}; }
Blob arrowUpImage() { return {arrowUp, arrowUp_size}; }
Blob arrowDownImage() { return {arrowDown, arrowDown_size}; }
Blob arrowLeftImage() { return {arrowLeft, arrowLeft_size}; }
Blob arrowRightImage() { return {arrowRight, arrowRight_size}; }

Blob overlayImage(int index)
{
    switch (index) {
    case 0: return {overlay0, overlay0_size};
    case 1: return {overlay1, overlay1_size};
    case 2: return {overlay2, overlay2_size};
    case 3: return {overlay3, overlay3_size};
    case 4: return {overlay4, overlay4_size};
    case 5: return {overlay5, overlay5_size};
    default: return {nullptr, 0};
    }
}

Blob greetingSoundFile() { return {greetingSound, greetingSound_size}; }
Blob defaultPhotoImage() { return {defaultPhoto, defaultPhoto_size}; }
Blob trimTool() { return {trimToolImage, trimToolImage_size}; }

IconPixels programIconLarge() { return {32, 32, kProgramIcon32}; }
IconPixels programIconSmall() { return {17, 17, kProgramIcon17}; }

}  // namespace velkaro::assets
