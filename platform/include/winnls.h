/* Placeholder until its area of the layer lands. */
#ifndef VELKARO_WINNLS_H
#define VELKARO_WINNLS_H
#include <windef.h>
#endif
