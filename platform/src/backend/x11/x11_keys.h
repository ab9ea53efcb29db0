// Keyboard translation: X keysyms to Win32 virtual-key codes and to the text
// a key types when no input method answers.
#pragma once

#include <string>

namespace vk {

// The virtual-key code of a keysym, or 0 when the key has none.
unsigned vkFromKeysym(unsigned long keysym);
// True for the keypad keysyms, whose meaning follows Num Lock.
bool isKeypadKeysym(unsigned long keysym);
// The UTF-8 text of a keysym (Latin-1, keypad and Unicode keysyms, and the
// control characters Win32 sends as WM_CHAR); empty when it types nothing.
std::string keysymText(unsigned long keysym);
// Appends the UTF-8 form of a code point.
void appendUtf8(std::string& out, unsigned codePoint);

} // namespace vk
