// The start window: an advertising line and two buttons, one opening the
// author's page, one opening the editor and closing this window.
#pragma once

#include <windows.h>

namespace velkaro::app {

inline constexpr const char* kStartWindowClass = "VelkaroStartWindow";
inline constexpr const char* kAuthorPage = "https://velkaro.github.io/";
inline constexpr int kPageButtonId = 1001;
inline constexpr int kLoadButtonId = 1002;
inline constexpr int kAdvertId = 1003;

void registerStartWindowClass();
HWND createStartWindow();

// The handlers, as the window's messages call them.
void onStartWindowCreate(HWND window);
void onPageButton(HWND window);
void onLoadButton(HWND window);

} // namespace velkaro::app
