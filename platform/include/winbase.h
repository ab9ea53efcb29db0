/* Placeholder until its area of the layer lands. */
#ifndef VELKARO_WINBASE_H
#define VELKARO_WINBASE_H
#include <windef.h>
#endif
