#include "capture/command_line.h"

#include <stdio.h>
#include <string.h>

#include "capture/text.h"

namespace quillet::capture {

namespace {

const wchar_t* const kDefaultClasses[] = {
    L"MSiSCSI_HBAInformation",       L"MSiSCSI_TCPIPConfig",  L"MSiSCSI_NICConfig",
    L"MSiSCSI_InitiatorSessionInfo", L"MPIO_TIMERS_COUNTERS",
};

bool isAsciiLetter(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

// A WMI class name: a letter or underscore, then letters, digits and underscores. Checked here so
// that nothing else can reach the WQL text.
bool isClassName(const char* text)
{
    if (!isAsciiLetter(text[0]) && text[0] != '_')
        return false;
    for (const char* p = text; *p; ++p)
        if (!isAsciiLetter(*p) && !isDigit(*p) && *p != '_')
            return false;
    return true;
}

// A namespace path in printable ASCII ("ROOT\WMI", "root/cimv2").
bool isNamespace(const char* text)
{
    if (!*text)
        return false;
    for (const char* p = text; *p; ++p)
        if (*p < 0x21 || *p > 0x7E)
            return false;
    return true;
}

std::wstring widen(const char* ascii)
{
    return std::wstring(ascii, ascii + strlen(ascii));
}

}  // namespace

bool parseCommandLine(int argc, char* argv[], CaptureOptions* options)
{
    options->nameSpace = L"ROOT\\WMI";
    options->outputPath.clear();
    options->redact = false;
    options->classes.clear();

    bool haveNamespace = false, haveOutput = false;
    int i = 1;
    // Switches first, each at most once; the class names follow.
    for (; i < argc && argv[i][0] == '/'; ++i) {
        const char* option = argv[i];
        if (strcmp(option, "/n") == 0 && !haveNamespace && i + 1 < argc &&
            isNamespace(argv[i + 1])) {
            options->nameSpace = widen(argv[++i]);
            haveNamespace = true;
        } else if (strcmp(option, "/o") == 0 && !haveOutput && i + 1 < argc &&
                   argv[i + 1][0] != '\0') {
            options->outputPath = argv[++i];
            haveOutput = true;
        } else if (strcmp(option, "/redact") == 0 && !options->redact) {
            options->redact = true;
        } else {
            return false;
        }
    }
    for (; i < argc; ++i) {
        if (!isClassName(argv[i]))
            return false;
        std::wstring name = widen(argv[i]);
        bool seen = false;
        for (size_t k = 0; k < options->classes.size(); ++k)
            seen = seen || sameName(options->classes[k], name);
        if (seen)
            return false;
        options->classes.push_back(name);
    }
    if (options->classes.empty())
        options->classes.assign(kDefaultClasses, kDefaultClasses + sizeof kDefaultClasses /
                                                                       sizeof kDefaultClasses[0]);
    return true;
}

void ShowCaptureUsage()
{
    fprintf(
        stderr,
        "Records WMI classes and their instances as a MOF file that the offline WMI stand-in replays.\n\n"
        "usage:\n"
        "\tQuilletCapture [/n NAMESPACE] [/o FILE] [/redact] [CLASS ...]\n\n"
        "\t/n NAMESPACE  namespace to read (default ROOT\\WMI)\n"
        "\t/o FILE       write to FILE, replaced only when the capture is complete\n"
        "\t              (default: standard output)\n"
        "\t/redact       replace serial numbers, IQNs, addresses and instance names by\n"
        "\t              placeholders, the same value always by the same placeholder\n"
        "\tCLASS         classes to record, each once (default: MSiSCSI_HBAInformation\n"
        "\t              MSiSCSI_TCPIPConfig MSiSCSI_NICConfig MSiSCSI_InitiatorSessionInfo\n"
        "\t              MPIO_TIMERS_COUNTERS)\n\n"
        "exit codes: 0 complete, 1 partial (a class was missing), 2 usage, 3 connection failed,\n"
        "\t4 access denied, 5 capture failed, 6 output not written\n");
}

}  // namespace quillet::capture
