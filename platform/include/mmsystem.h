/* Placeholder until its area of the layer lands. */
#ifndef VELKARO_MMSYSTEM_H
#define VELKARO_MMSYSTEM_H
#include <windef.h>
#endif
