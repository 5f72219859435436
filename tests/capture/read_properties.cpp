// read_properties NAMESPACE CLASS READER:PROPERTY...: reads properties of the class's first
// instance through the module's WMIObject readers and prints, for each, the readers' own trace
// lines and the value read. Built for Linux (the stand-in, fed a capture) and for Windows (run
// under Wine's WMI), so that both sides can be compared line for line.
// READER is one of bool, byte, short, long, string, uint64, bytes.
#include <windows.h>
#include <wbemidl.h>

#include <stdio.h>
#include <string.h>

#include <iostream>
#include <string>

#include "trace/console.h"
#include "wmi_session.h"
#include "wmiobject/wmiobject.h"

using quillet::installTraceOutput;

namespace {

std::wstring widen(const char* ascii)
{
    return std::wstring(ascii, ascii + strlen(ascii));
}

void read(WMIObject& record, const std::string& reader, const std::wstring& property)
{
    const wchar_t* name = property.c_str();
    std::wcout << L"== " << reader.c_str() << L" " << name << std::endl;
    // Each reader runs before its result line, so that its own trace lines come first.
    long value = 0;
    if (reader == "bool") {
        value = record.getBool(name) ? 1 : 0;
        std::wcout << L"-> " << value << std::endl;
    } else if (reader == "byte") {
        value = record.getByte(name);
        std::wcout << L"-> " << value << std::endl;
    } else if (reader == "short") {
        value = record.getShort(name);
        std::wcout << L"-> " << value << std::endl;
    } else if (reader == "long") {
        value = record.getLong(name);
        std::wcout << L"-> " << value << std::endl;
    } else if (reader == "string" || reader == "uint64") {
        wchar_t buffer[WMIObject::STRING_BUFFER_SIZE] = L"(untouched)";
        bool ok = reader == "string" ? record.getString(name, buffer)
                                     : record.getUInt64String(name, buffer);
        std::wcout << L"-> " << (ok ? 1 : 0) << L" " << buffer << std::endl;
    } else if (reader == "bytes") {
        BYTE buffer[64];
        memset(buffer, 0xEE, sizeof buffer);
        value = record.getByteArray(name, buffer, sizeof buffer) ? 1 : 0;
        std::wcout << L"-> " << value;
        for (size_t i = 0; i < 16; ++i)
            std::wcout << L" " << static_cast<int>(buffer[i]);
        std::wcout << std::endl;
    } else {
        std::wcout << L"-> unknown reader" << std::endl;
    }
}

}  // namespace

int main(int argc, char* argv[])
{
    installTraceOutput();
    if (argc < 3) {
        fprintf(stderr, "usage: read_properties NAMESPACE CLASS READER:PROPERTY...\n");
        return 2;
    }
    WmiSession session;
    HRESULT hr = session.connect(widen(argv[1]).c_str());
    if (FAILED(hr)) {
        fprintf(stderr, "connect failed: 0x%08lx\n",
                static_cast<unsigned long>(static_cast<unsigned int>(hr)));
        return 3;
    }
    IWbemClassObject* instance = NULL;
    ULONG count = 0;
    hr = session.firstInstance(widen(argv[2]).c_str(), &instance, &count);
    if (FAILED(hr) || !instance) {
        fprintf(stderr, "no instance of %s: 0x%08lx\n", argv[2],
                static_cast<unsigned long>(static_cast<unsigned int>(hr)));
        return 4;
    }
    // As after the engine's first connection: narrow numbers in hexadecimal.
    std::cout << std::hex;
    {
        WMIObject record;
        record.attach(instance);
        for (int i = 3; i < argc; ++i) {
            std::string request(argv[i]);
            size_t colon = request.find(':');
            if (colon == std::string::npos) {
                fprintf(stderr, "not READER:PROPERTY: %s\n", argv[i]);
                return 2;
            }
            read(record, request.substr(0, colon), widen(request.substr(colon + 1).c_str()));
        }
    }
    instance->Release();
    std::cout << std::dec;
    return 0;
}
