/* Multimedia (winmm): playing wave sounds and the multimedia timer clock. */
#ifndef VELKARO_MMSYSTEM_H
#define VELKARO_MMSYSTEM_H

#include <windef.h>

VK_BEGIN_C

#define WINMMAPI VK_EXTERN_C

typedef UINT MMRESULT;

#define MMSYSERR_NOERROR 0
#define TIMERR_NOERROR 0
#define TIMERR_BASE 96
#define TIMERR_NOCANDO (TIMERR_BASE + 1)

/* PlaySoundA / sndPlaySoundA flags */
#define SND_SYNC 0x0000
#define SND_ASYNC 0x0001
#define SND_NODEFAULT 0x0002
#define SND_MEMORY 0x0004
#define SND_LOOP 0x0008
#define SND_NOSTOP 0x0010
#define SND_PURGE 0x0040
#define SND_APPLICATION 0x0080
#define SND_NOWAIT 0x00002000L
#define SND_ALIAS 0x00010000L
#define SND_ALIAS_ID 0x00110000L
#define SND_FILENAME 0x00020000L
#define SND_RESOURCE 0x00040004L
#define SND_SENTRY 0x00080000L
#define SND_RING 0x00100000L
#define SND_SYSTEM 0x00200000L

/* The format block of a wave sound ("fmt " chunk). */
#define WAVE_FORMAT_PCM 1
#pragma pack(push, 1)
typedef struct tWAVEFORMATEX {
    WORD wFormatTag;
    WORD nChannels;
    DWORD nSamplesPerSec;
    DWORD nAvgBytesPerSec;
    WORD nBlockAlign;
    WORD wBitsPerSample;
    WORD cbSize;
} WAVEFORMATEX, *PWAVEFORMATEX, *LPWAVEFORMATEX;
#pragma pack(pop)

WINMMAPI BOOL WINAPI PlaySoundA(LPCSTR pszSound, HMODULE hmod, DWORD fdwSound);
WINMMAPI BOOL WINAPI sndPlaySoundA(LPCSTR lpszSound, UINT fuSound);

/* Milliseconds since the system started, as GetTickCount counts them. */
WINMMAPI DWORD WINAPI timeGetTime(void);
WINMMAPI MMRESULT WINAPI timeBeginPeriod(UINT uPeriod);
WINMMAPI MMRESULT WINAPI timeEndPeriod(UINT uPeriod);

#define PlaySound PlaySoundA
#define sndPlaySound sndPlaySoundA

VK_END_C

#endif
