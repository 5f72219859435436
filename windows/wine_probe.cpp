// Started once by the Wine fixture: proves that Wine runs a statically linked MinGW program
// and that its COM runtime comes up.
#include <windows.h>
#include <objbase.h>
#include <stdio.h>

int main()
{
    HRESULT hr = CoInitializeEx(NULL, COINIT_MULTITHREADED);
    if (FAILED(hr)) {
        printf("CoInitializeEx failed: 0x%08lx\n", static_cast<unsigned long>(hr));
        return 1;
    }
    CoUninitialize();
    printf("wine probe ok\n");
    return 0;
}
