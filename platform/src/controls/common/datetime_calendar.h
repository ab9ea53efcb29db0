// The month calendar the date-time picker drops down: a pop-up of its own
// that reports the day clicked, or that it was dismissed.
#pragma once

#include <windows.h>

#include <functional>

namespace vk::comctl {

int daysInMonth(int year, int month);
// 0 Sunday .. 6 Saturday, of the Gregorian calendar.
int dayOfWeek(int year, int month, int day);

// done gets the chosen date, or nullptr when the calendar was dismissed (a
// click outside it); it is called at most once. The caller destroys the window.
using CalendarDone = std::function<void(const SYSTEMTIME*)>;
HWND openDateCalendar(HWND owner, POINT topLeft, const SYSTEMTIME& shown, CalendarDone done);
// After this, the calendar reports nothing more.
void detachDateCalendar(HWND calendar);
void registerDateCalendarClass();

} // namespace vk::comctl
