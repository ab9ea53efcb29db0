/* Placeholder until its area of the layer lands. */
#ifndef VELKARO_SHELLAPI_H
#define VELKARO_SHELLAPI_H
#include <windef.h>
#endif
