// What the combo box needs of its list ("ComboLBox" shares the list box's
// procedure): whom the list reports to and how a drop-down ends.
#pragma once

#include <windows.h>

namespace vk::stdctl {

// Makes hwnd (a "ComboLBox") report to combo: notifications and owner-draw
// requests go there, and in drop-down mode the mouse chooses.
void attachListToCombo(HWND list, HWND combo, bool dropDown);
// Called by the drop-down list when the user chose (accept) or dismissed it.
void comboListDone(HWND combo, bool accept);
// The drop-down list starts tracking the mouse (it has the capture).
void listStartTracking(HWND list);

} // namespace vk::stdctl
