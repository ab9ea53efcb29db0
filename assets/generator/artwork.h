// Every built-in picture and sound, each drawn by its own file.
#pragma once

#include "picture.h"

#include <cstdint>
#include <vector>

namespace vkgen {

enum class Glyph { Help, MainMenu, Minimize, Maximize, Restore, Close };
enum class Arrow { Up, Down, Left, Right };

Picture drawWindowBackground();
Picture drawCaptionGlyph(Glyph glyph);
Picture drawCheckMark();
Picture drawArrow(Arrow arrow);
Picture drawProgramIcon(int size);  // 32 or 17
Picture drawOverlay(int index);     // 0 to 5
Picture drawDefaultPhoto();
std::vector<std::int16_t> synthesizeGreeting();

bool writeWav(const std::string& path, const std::vector<std::int16_t>& samples, int sampleRate);

}  // namespace vkgen
