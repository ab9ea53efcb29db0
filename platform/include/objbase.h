/* Placeholder until its area of the layer lands. */
#ifndef VELKARO_OBJBASE_H
#define VELKARO_OBJBASE_H
#include <windef.h>
#endif
