// QuilletCapture: records a WMI namespace's classes and instances as a MOF file that the
// offline stand-in replays. Exit codes in exit_codes.h.
#include <windows.h>
#include <wbemidl.h>

#include <stdio.h>
#include <time.h>

#include <new>

#include "capture/capture_error.h"
#include "capture/command_line.h"
#include "capture/connection.h"
#include "capture/exit_codes.h"
#include "capture/mof_writer.h"
#include "capture/namespace_reader.h"
#include "capture/output.h"
#include "capture/redactor.h"
#include "capture/text.h"
#include "com/scoped_com_init.h"
#include "com/scoped_com_ptr.h"

using quillet::capture::CaptureOptions;
using quillet::capture::kExitCaptureFailed;
using quillet::capture::kExitUsage;
using quillet::capture::parseCommandLine;
using quillet::capture::ShowCaptureUsage;

namespace quillet::capture {

namespace {

bool isAccessDenied(HRESULT hr)
{
    return hr == static_cast<HRESULT>(WBEM_E_ACCESS_DENIED) || hr == E_ACCESSDENIED;
}

std::string utcNow()
{
    time_t now = time(NULL);
    char text[32] = "";
    struct tm* utc = gmtime(&now);
    if (utc)
        strftime(text, sizeof text, "%Y-%m-%dT%H:%M:%SZ", utc);
    return text;
}

int connectionFailure(const CaptureOptions& options, const CaptureError& error)
{
    bool denied = isAccessDenied(error.result());
    fprintf(stderr, "QuilletCapture: cannot connect to namespace %s: %s%s\n",
            unicode::toUtf8(options.nameSpace).c_str(), error.what(),
            denied ? " (access denied: run as an administrator)" : "");
    return denied ? kExitAccessDenied : kExitConnection;
}

// Reads every requested class; sets *partial when one was missing.
int readNamespace(const CaptureOptions& options, Capture* capture, bool* partial)
{
    ScopedComInit com;
    ScopedComPtr<IWbemServices> services;
    try {
        if (com.result() != RPC_E_CHANGED_MODE)
            checkCall(com.result(), "CoInitializeEx", "");
        connectNamespace(options.nameSpace, services.Receive());
    } catch (const CaptureError& error) {
        return connectionFailure(options, error);
    }

    NamespaceReader reader(services.Get(), capture);
    for (size_t i = 0; i < options.classes.size(); ++i) {
        HRESULT hr;
        try {
            hr = reader.captureClass(options.classes[i]);
        } catch (const CaptureError& error) {
            fprintf(stderr, "QuilletCapture: %s; nothing written\n", error.what());
            return isAccessDenied(error.result()) ? kExitAccessDenied : kExitCaptureFailed;
        }
        if (FAILED(hr)) {
            fprintf(stderr, "QuilletCapture: class %s is not in namespace %s (%s), skipped\n",
                    unicode::toUtf8(options.classes[i]).c_str(),
                    unicode::toUtf8(options.nameSpace).c_str(), describeHresult(hr).c_str());
            *partial = true;
        }
    }
    return kExitComplete;
}

int capture(const CaptureOptions& options)
{
    Capture capture;
    capture.nameSpace = options.nameSpace;
    capture.classes = options.classes;
    bool partial = false;
    int code = readNamespace(options, &capture, &partial);
    if (code != kExitComplete)
        return code;
    if (options.redact)
        redact(&capture);
    std::string error;
    if (!writeOutput(options.outputPath, writeMof(capture, utcNow()), &error)) {
        fprintf(stderr, "QuilletCapture: %s\n", error.c_str());
        return kExitOutputFailed;
    }
    return partial ? kExitPartial : kExitComplete;
}

}  // namespace

}  // namespace quillet::capture

int main(int argc, char* argv[])
{
    CaptureOptions options;
    if (!parseCommandLine(argc, argv, &options)) {
        ShowCaptureUsage();
        return kExitUsage;
    }
    try {
        return quillet::capture::capture(options);
    } catch (const std::bad_alloc&) {
        fprintf(stderr, "QuilletCapture: out of memory; nothing written\n");
        return kExitCaptureFailed;
    }
}
