// Entry points of the vendor's setup library Ostrand.dll. They are imported by name, so the
// loader binds them at start-up and the command does not start without the library.
// The library itself defines OSTRAND_EXPORTS before including this header.
#ifndef OSTRAND_SETUP_H
#define OSTRAND_SETUP_H

#include <windows.h>

#if !defined(_WIN32)
#define OSTRAND_API
#elif defined(OSTRAND_EXPORTS)
#define OSTRAND_API __declspec(dllexport)
#else
#define OSTRAND_API __declspec(dllimport)
#endif

#ifdef __cplusplus
extern "C" {
#endif

// hReserved: always 0 from the command. pFlag: null for install; for uninstall and the
// uninstall check, an integer holding 1. pszInstallDir: the directory as typed, not a copy.
// The result is the command's exit code.
OSTRAND_API INT WINAPI CallInstallMPIO(ULONG_PTR hReserved, INT* pFlag, LPCSTR pszInstallDir);
OSTRAND_API INT WINAPI CallUninstallMPIO(ULONG_PTR hReserved, INT* pFlag, LPCSTR pszInstallDir);
OSTRAND_API INT WINAPI CallCanUninstallMPIO(ULONG_PTR hReserved, INT* pFlag, LPCSTR pszInstallDir);

#ifdef __cplusplus
}
#endif

#endif
