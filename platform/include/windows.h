/* The Win32 programming interface of the Velkaro platform layer. */
#ifndef VELKARO_WINDOWS_H
#define VELKARO_WINDOWS_H

#include <windef.h>
#include <winerror.h>
#include <winbase.h>
#include <winnls.h>
#include <wingdi.h>
#include <winuser.h>

#ifndef WIN32_LEAN_AND_MEAN
#include <objbase.h>
#include <commdlg.h>
#include <shellapi.h>
#include <mmsystem.h>
#endif

#endif
