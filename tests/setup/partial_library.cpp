// A setup library that lacks CallCanUninstallMPIO: the command must not start against it.
extern "C" int CallInstallMPIO(unsigned long long, int*, const char*)
{
    return 0;
}
extern "C" int CallUninstallMPIO(unsigned long long, int*, const char*)
{
    return 0;
}
