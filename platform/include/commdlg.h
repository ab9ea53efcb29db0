/* Placeholder until its area of the layer lands. */
#ifndef VELKARO_COMMDLG_H
#define VELKARO_COMMDLG_H
#include <windef.h>
#endif
