// The product's built-in pictures, sound, icon and trim tool, compiled in as
// byte arrays. Each picture is the file image of a PNG or JPEG (decode it the
// way any picture file is decoded); the sound is a complete WAV file; the trim
// tool is the file image of empty.exe. The pictures and the sound are made by
// assets/generator and kept in assets/generated/.
#ifndef VELKARO_ASSETS_H
#define VELKARO_ASSETS_H

#include <cstddef>
#include <cstdint>

namespace velkaro::assets {

struct Blob {
    const unsigned char* data;
    size_t size;
};

// Window background, JPEG 1024 x 1024.
extern const unsigned char windowBackground[];
extern const size_t windowBackground_size;

// Caption button glyphs, PNG with alpha: 26 x 18 each, close 38 x 18.
extern const unsigned char captionHelp[];
extern const size_t captionHelp_size;
extern const unsigned char captionMainMenu[];
extern const size_t captionMainMenu_size;
extern const unsigned char captionMinimize[];
extern const size_t captionMinimize_size;
extern const unsigned char captionMaximize[];
extern const size_t captionMaximize_size;
extern const unsigned char captionRestore[];
extern const size_t captionRestore_size;
extern const unsigned char captionClose[];
extern const size_t captionClose_size;

// Check mark, PNG 13 x 12; its transparent pixels are 0x00FFFFFF.
extern const unsigned char checkMark[];
extern const size_t checkMark_size;

// Arrows, PNG with alpha: up and down 7 x 4, left and right 4 x 7.
extern const unsigned char arrowUp[];
extern const size_t arrowUp_size;
extern const unsigned char arrowDown[];
extern const size_t arrowDown_size;
extern const unsigned char arrowLeft[];
extern const size_t arrowLeft_size;
extern const unsigned char arrowRight[];
extern const size_t arrowRight_size;

// The program icon as PNG files (the pixel arrays are below).
extern const unsigned char programIcon32Png[];
extern const size_t programIcon32Png_size;
extern const unsigned char programIcon17Png[];
extern const size_t programIcon17Png_size;

// Picture overlays 0 to 5, PNG 159 x 246 with alpha.
extern const unsigned char overlay0[];
extern const size_t overlay0_size;
extern const unsigned char overlay1[];
extern const size_t overlay1_size;
extern const unsigned char overlay2[];
extern const size_t overlay2_size;
extern const unsigned char overlay3[];
extern const size_t overlay3_size;
extern const unsigned char overlay4[];
extern const size_t overlay4_size;
extern const unsigned char overlay5[];
extern const size_t overlay5_size;

// Greeting jingle: RIFF WAV, PCM mono 16 kHz 16 bit.
extern const unsigned char greetingSound[];
extern const size_t greetingSound_size;

// Default photograph, JPEG 147 x 227.
extern const unsigned char defaultPhoto[];
extern const size_t defaultPhoto_size;

// The working-set trim tool, run as "empty.exe <pid>".
extern const unsigned char trimToolImage[];
extern const size_t trimToolImage_size;

enum class CaptionGlyph { Help, MainMenu, Minimize, Maximize, Restore, Close };

constexpr int kOverlayCount = 6;

Blob windowBackgroundImage();
Blob captionGlyphImage(CaptionGlyph glyph);
Blob checkMarkImage();
Blob arrowUpImage();
Blob arrowDownImage();
Blob arrowLeftImage();
Blob arrowRightImage();
// Overlay 0 to kOverlayCount - 1; any other index gives an empty Blob.
Blob overlayImage(int index);
Blob greetingSoundFile();
Blob defaultPhotoImage();
Blob trimTool();

// The program icon for VkRegisterIconResource: register it under resource
// number kIconResourceId and under the name kIconResourceName.
constexpr int kIconResourceId = 129;
constexpr const char* kIconResourceName = "DEFAULT_ICON";

struct IconPixels {
    int width;
    int height;
    const std::uint32_t* pixels;  // straight-alpha 0xAARRGGBB, top row first
};

// The large icon (32 x 32) and the caption-sized one (17 x 17), drawn
// separately so the small one stays crisp.
IconPixels programIconLarge();
IconPixels programIconSmall();

}  // namespace velkaro::assets

#endif
