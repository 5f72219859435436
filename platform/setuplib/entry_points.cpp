// The three exports of the stand-in setup library: each records its call and returns the
// configured result. Installing and uninstalling are not simulated.
#define OSTRAND_EXPORTS
#include "OstrandSetup.h"

#include "call_log.h"
#include "configured_result.h"

INT WINAPI CallInstallMPIO(ULONG_PTR hReserved, INT* pFlag, LPCSTR pszInstallDir)
{
    appendCallToLog("CallInstallMPIO", hReserved, pFlag, pszInstallDir);
    return configuredResult();
}

INT WINAPI CallUninstallMPIO(ULONG_PTR hReserved, INT* pFlag, LPCSTR pszInstallDir)
{
    appendCallToLog("CallUninstallMPIO", hReserved, pFlag, pszInstallDir);
    return configuredResult();
}

INT WINAPI CallCanUninstallMPIO(ULONG_PTR hReserved, INT* pFlag, LPCSTR pszInstallDir)
{
    appendCallToLog("CallCanUninstallMPIO", hReserved, pFlag, pszInstallDir);
    return configuredResult();
}
