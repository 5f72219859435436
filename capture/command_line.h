// The command line of QuilletCapture, checked strictly: anything it does not name exactly is
// refused with the usage text.
//     QuilletCapture [/n NAMESPACE] [/o FILE] [/redact] [CLASS ...]
#ifndef QUILLET_CAPTURE_COMMAND_LINE_H
#define QUILLET_CAPTURE_COMMAND_LINE_H

#include <string>
#include <vector>

namespace quillet::capture {

struct CaptureOptions
{
    std::wstring nameSpace;  // ROOT\WMI unless /n
    std::string outputPath;  // empty: standard output
    bool redact;
    std::vector<std::wstring> classes;  // the five the module reads unless given; no duplicates
};

// Fills *options from argv; false when the command line is refused.
bool parseCommandLine(int argc, char* argv[], CaptureOptions* options);

// Writes the usage text on standard error (standard output carries the capture).
void ShowCaptureUsage();

}  // namespace quillet::capture

#endif
