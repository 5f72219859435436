#include "configured_result.h"

#include <errno.h>
#include <limits.h>
#include <stdio.h>
#include <stdlib.h>

namespace {

const INT kMalformedResult = -1;

// Parses the whole of pszText; false on anything but an in-range decimal integer.
bool parseInt32(const char* pszText, INT* pnValue)
{
    const char* pszDigits = (pszText[0] == '-' || pszText[0] == '+') ? pszText + 1 : pszText;
    // strtoll would also take leading spaces and a second sign: insist on a digit here.
    if (*pszDigits < '0' || *pszDigits > '9') {
        return false;
    }
    char* pszEnd = NULL;
    errno = 0;
    const long long nValue = strtoll(pszText, &pszEnd, 10);
    if (errno != 0 || *pszEnd != '\0' || nValue < INT_MIN || nValue > INT_MAX) {
        return false;
    }
    *pnValue = static_cast<INT>(nValue);
    return true;
}

}  // namespace

INT configuredResult()
{
    const char* pszText = getenv("OSTRAND_RESULT");
    if (pszText == NULL) {
        return 0;
    }
    INT nResult = 0;
    if (!parseInt32(pszText, &nResult)) {
        fprintf(stderr,
                "Ostrand stand-in: OSTRAND_RESULT \"%s\" is not a 32-bit decimal integer; "
                "returning %d\n",
                pszText, kMalformedResult);
        return kMalformedResult;
    }
    return nResult;
}
