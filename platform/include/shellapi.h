/* The shell (shell32): opening documents and addresses with the program the
 * desktop associates with them. The SW_* show commands are in winuser.h. */
#ifndef VELKARO_SHELLAPI_H
#define VELKARO_SHELLAPI_H

#include <windef.h>
#include <winuser.h>

VK_BEGIN_C

#define SHELLAPI VK_EXTERN_C

/* Failure values of ShellExecuteA (success is any value above 32). */
#define SE_ERR_FNF 2
#define SE_ERR_PNF 3
#define SE_ERR_ACCESSDENIED 5
#define SE_ERR_OOM 8
#define SE_ERR_DLLNOTFOUND 32
#define SE_ERR_SHARE 26
#define SE_ERR_ASSOCINCOMPLETE 27
#define SE_ERR_DDETIMEOUT 28
#define SE_ERR_DDEFAIL 29
#define SE_ERR_DDEBUSY 30
#define SE_ERR_NOASSOC 31

SHELLAPI HINSTANCE WINAPI ShellExecuteA(HWND hwnd, LPCSTR lpOperation, LPCSTR lpFile, LPCSTR lpParameters,
                                        LPCSTR lpDirectory, INT nShowCmd);

#define ShellExecute ShellExecuteA

VK_END_C

#endif
