#include "call_log.h"

#include <stdio.h>
#include <stdlib.h>

void appendCallToLog(const char* pszEntryPoint, ULONG_PTR hReserved, const INT* pFlag,
                     LPCSTR pszInstallDir)
{
    const char* pszPath = getenv("OSTRAND_LOG");
    if (pszPath == NULL || pszPath[0] == '\0') {
        return;
    }
    // Binary append: the directory's bytes reach the file untranslated, and a log shared by
    // several runs keeps every line.
    FILE* pFile = fopen(pszPath, "ab");
    if (pFile == NULL) {
        fprintf(stderr, "Ostrand stand-in: cannot open OSTRAND_LOG file \"%s\"\n", pszPath);
        return;
    }
    int nWritten =
        fprintf(pFile, "%s %llu ", pszEntryPoint, static_cast<unsigned long long>(hReserved));
    if (nWritten >= 0) {
        nWritten = pFlag == NULL ? fputs("null ", pFile) : fprintf(pFile, "%d ", *pFlag);
    }
    if (nWritten >= 0) {
        nWritten = pszInstallDir == NULL ? fputs("(null)\n", pFile)
                                         : fprintf(pFile, "%s\n", pszInstallDir);
    }
    if (fclose(pFile) != 0 || nWritten < 0) {
        fprintf(stderr, "Ostrand stand-in: cannot write OSTRAND_LOG file \"%s\"\n", pszPath);
    }
}
