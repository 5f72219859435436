// Ostrand.exe: checks the command line and hands install, uninstall or the uninstall check to
// the setup library, whose result becomes the exit code.
#include <string.h>

#include "OstrandSetup.h"
#include "usage.h"

int main(int argc, char* argv[])
{
    if (argc != 3) {
        ShowUsage();
        return -1;
    }

    const char* pszSwitch = argv[1];
    char* pszInstallDir = argv[2];
    // Three bytes, the terminating zero included: the switch must be exactly "/i", "/u" or "/c".
    // strncmp stops at the switch's own end, so a shorter argument is never read past.
    const bool bHaveDir = pszInstallDir[0] != '\0';
    INT nFlag = 0;

    if (strncmp(pszSwitch, "/i", 3) == 0 && bHaveDir) {
        return CallInstallMPIO(0, NULL, pszInstallDir);
    }
    if (strncmp(pszSwitch, "/u", 3) == 0 && bHaveDir) {
        nFlag = 1;
        return CallUninstallMPIO(0, &nFlag, pszInstallDir);
    }
    if (strncmp(pszSwitch, "/c", 3) == 0 && bHaveDir) {
        nFlag = 1;
        return CallCanUninstallMPIO(0, &nFlag, pszInstallDir);
    }

    ShowUsage();
    return -1;
}
