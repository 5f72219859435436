// The stand-in setup library's record of calls, for tests of the setup command.
#ifndef OSTRAND_STANDIN_CALL_LOG_H
#define OSTRAND_STANDIN_CALL_LOG_H

#include <windows.h>

// Appends one line to the file named by OSTRAND_LOG (nothing when unset):
//   <entry point> <hReserved in decimal> <null | *pFlag in decimal> <directory bytes>\n
// The directory runs to the end of the line, written exactly as received. A log that cannot
// be written is reported on stderr; the call itself still goes on.
void appendCallToLog(const char* pszEntryPoint, ULONG_PTR hReserved, const INT* pFlag,
                     LPCSTR pszInstallDir);

#endif
