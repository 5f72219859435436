// A small Windows-style program the tests run as a process of its own, so that they can see
// what only a fresh process shows: the first CoInitializeSecurity, messages about bad
// configuration, and the leak line written at exit. Each argument names one step.
#include <windows.h>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include "com/com_object.h"

namespace {

class ProbeObject final : public winsim::ComObject<IUnknown>
{};

// Holds a string until the program's static objects are destroyed at exit.
struct StaticHolder
{
    BSTR text = nullptr;
    ~StaticHolder() { SysFreeString(text); }
} holder;

void step(const char* name)
{
    if (std::strcmp(name, "mta") == 0) {
        CoInitializeEx(nullptr, COINIT_MULTITHREADED);
    } else if (std::strcmp(name, "uninit") == 0) {
        CoUninitialize();
    } else if (std::strcmp(name, "security") == 0) {
        CoInitializeSecurity(nullptr, -1, nullptr, nullptr, RPC_C_AUTHN_LEVEL_DEFAULT,
                             RPC_C_IMP_LEVEL_IMPERSONATE, nullptr, EOAC_NONE, nullptr);
    } else if (std::strcmp(name, "leak-com") == 0) {
        new ProbeObject;
    } else if (std::strcmp(name, "leak-bstr") == 0) {
        SysAllocString(L"leaked");
    } else if (std::strcmp(name, "leak-array") == 0) {
        SafeArrayCreateVector(VT_BSTR, 0, 1);
    } else if (std::strcmp(name, "hold-until-exit") == 0) {
        holder.text = SysAllocString(L"held");
    } else if (std::strcmp(name, "sysalloc") == 0) {
        BSTR text = SysAllocString(L"probe");
        std::printf("%s\n", text == nullptr ? "null" : "allocated");
        SysFreeString(text);
    } else if (std::strcmp(name, "abort") == 0) {
        std::abort();
    } else {
        std::fprintf(stderr, "unknown step %s\n", name);
        std::exit(2);
    }
}

}  // namespace

int main(int argc, char** argv)
{
    for (int i = 1; i < argc; ++i)
        step(argv[i]);
    return 0;
}
