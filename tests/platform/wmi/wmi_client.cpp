// A small WMI client written as Windows code, run as its own process by the tests so that the
// call log closes with its leak line.
//   wmi_client read <class>       connect to ROOT\WMI, read every property of every instance
//                                 (embedded objects and array elements included), print them
//   wmi_client connect <namespace>  only connect, print the result
// Exit code 0 when every call succeeded.
#include <windows.h>
#include <objbase.h>
#include <oleauto.h>
#include <wbemidl.h>

#include <stdio.h>
#include <string.h>
#include <wchar.h>

namespace {

const wchar_t* const kProperties[] = {
    L"InstanceName", L"Active",   L"OddBool", L"U8",    L"S8",    L"U16",  L"S16",       L"U32",
    L"S32",          L"U64",      L"S64",     L"R32",   L"R64",   L"C16",  L"When",      L"Text",
    L"Address",      L"Anything", L"Bytes",   L"Names", L"Flags", L"Bigs", L"Addresses", L"Unset",
};
const wchar_t* const kAddressProperties[] = {L"Type", L"IpV4Address", L"IpV6Address"};

int g_failures = 0;

void check(HRESULT hr, const char* what)
{
    if (FAILED(hr)) {
        printf("%s failed 0x%08x\n", what, static_cast<unsigned int>(hr));
        ++g_failures;
    }
}

void printProperties(IWbemClassObject* object, const wchar_t* const* names, size_t count,
                     int depth);

void printElements(SAFEARRAY* array, VARTYPE vt, int depth)
{
    LONG lower = 0, upper = -1;
    check(SafeArrayGetLBound(array, 1, &lower), "SafeArrayGetLBound");
    check(SafeArrayGetUBound(array, 1, &upper), "SafeArrayGetUBound");
    for (LONG i = lower; i <= upper; ++i) {
        if (vt == VT_UNKNOWN) {
            IUnknown* element = NULL;
            check(SafeArrayGetElement(array, &i, &element), "SafeArrayGetElement");
            printf("%*s[%ld] %s\n", depth * 2, "", static_cast<long>(i),
                   element ? "object" : "null");
            if (element) {
                printProperties(static_cast<IWbemClassObject*>(element), kAddressProperties, 3,
                                depth + 1);
                element->Release();
            }
        } else if (vt == VT_BSTR) {
            BSTR text = NULL;
            check(SafeArrayGetElement(array, &i, &text), "SafeArrayGetElement");
            printf("%*s[%ld] %ls\n", depth * 2, "", static_cast<long>(i), text);
            SysFreeString(text);
        }
    }
}

void printProperties(IWbemClassObject* object, const wchar_t* const* names, size_t count, int depth)
{
    for (size_t i = 0; i < count; ++i) {
        VARIANT value;
        VariantInit(&value);
        CIMTYPE type = 0;
        HRESULT hr = object->Get(names[i], 0, &value, &type, NULL);
        check(hr, "Get");
        printf("%*s%ls vt=0x%x cim=0x%lx\n", depth * 2, "", names[i], value.vt,
               static_cast<long>(type));
        if (value.vt == VT_UNKNOWN && value.punkVal)
            printProperties(static_cast<IWbemClassObject*>(value.punkVal), kAddressProperties, 3,
                            depth + 1);
        else if (value.vt & VT_ARRAY)
            printElements(value.parray, value.vt & VT_TYPEMASK, depth + 1);
        VariantClear(&value);
    }
}

int read(IWbemServices* services, const wchar_t* className)
{
    wchar_t text[256];
    swprintf(text, 256, L"SELECT * FROM %ls", className);
    BSTR language = SysAllocString(L"WQL");
    BSTR query = SysAllocString(text);
    IEnumWbemClassObject* enumerator = NULL;
    HRESULT hr = services->ExecQuery(
        language, query, WBEM_FLAG_FORWARD_ONLY | WBEM_FLAG_RETURN_IMMEDIATELY, NULL, &enumerator);
    SysFreeString(language);
    SysFreeString(query);
    check(hr, "ExecQuery");
    if (FAILED(hr))
        return 1;
    for (;;) {
        IWbemClassObject* object = NULL;
        ULONG returned = 0;
        hr = enumerator->Next(WBEM_INFINITE, 1, &object, &returned);
        if (returned == 0)
            break;
        printf("instance\n");
        printProperties(object, kProperties, sizeof kProperties / sizeof kProperties[0], 1);
        object->Release();
    }
    check(hr, "Next");
    enumerator->Release();
    return 0;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 3)
        return 2;
    wchar_t argument[256];
    swprintf(argument, 256, L"%hs", argv[2]);

    check(CoInitializeEx(NULL, COINIT_MULTITHREADED), "CoInitializeEx");
    check(CoInitializeSecurity(NULL, -1, NULL, NULL, RPC_C_AUTHN_LEVEL_DEFAULT,
                               RPC_C_IMP_LEVEL_IMPERSONATE, NULL, EOAC_NONE, NULL),
          "CoInitializeSecurity");
    IWbemLocator* locator = NULL;
    HRESULT hr = CoCreateInstance(CLSID_WbemLocator, NULL, CLSCTX_INPROC_SERVER, IID_IWbemLocator,
                                  reinterpret_cast<void**>(&locator));
    check(hr, "CoCreateInstance");
    if (SUCCEEDED(hr)) {
        BSTR resource = SysAllocString(strcmp(argv[1], "connect") == 0 ? argument : L"ROOT\\WMI");
        IWbemServices* services = NULL;
        hr = locator->ConnectServer(resource, NULL, NULL, NULL, 0, NULL, NULL, &services);
        SysFreeString(resource);
        printf("ConnectServer 0x%08x\n", static_cast<unsigned int>(hr));
        if (SUCCEEDED(hr)) {
            check(CoSetProxyBlanket(services, RPC_C_AUTHN_WINNT, RPC_C_AUTHZ_NONE, NULL,
                                    RPC_C_AUTHN_LEVEL_CALL, RPC_C_IMP_LEVEL_IMPERSONATE, NULL,
                                    EOAC_NONE),
                  "CoSetProxyBlanket");
            if (strcmp(argv[1], "read") == 0)
                read(services, argument);
            services->Release();
        } else {
            ++g_failures;
        }
        locator->Release();
    }
    CoUninitialize();
    return g_failures == 0 ? 0 : 1;
}
