/* Placeholder until its area of the layer lands. */
#ifndef VELKARO_COMMCTRL_H
#define VELKARO_COMMCTRL_H
#include <windef.h>
#endif
