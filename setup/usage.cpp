#include "usage.h"

#include <stdio.h>

void ShowUsage()
{
    // The program name is fixed: installers document the command under this name.
    printf("Installs the Corvane MPIO DSM.\n\n");
    printf("usage to install DSM:\n");
    printf("\tOstrand.exe /i [installdir]\n");
    printf("usage to uninstall DSM:\n");
    printf("\tOstrand.exe /u [installdir]\n");
    printf("usage to check if uninstall is allowed:\n");
    printf("\tOstrand.exe /c [installdir]\n");
}
