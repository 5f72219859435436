// Exit codes of QuilletCapture (listed in the README): scripts tell a complete capture from a
// partial one and a refused connection from a failed capture.
#ifndef QUILLET_CAPTURE_EXIT_CODES_H
#define QUILLET_CAPTURE_EXIT_CODES_H

namespace quillet::capture {

enum CaptureExitCode
{
    kExitComplete = 0,       // every class captured
    kExitPartial = 1,        // written, but one or more classes were missing and skipped
    kExitUsage = 2,          // command line refused; usage text on stderr
    kExitConnection = 3,     // COM or the connection to the namespace failed
    kExitAccessDenied = 4,   // the namespace or a class refused access
    kExitCaptureFailed = 5,  // reading a class or its instances failed; nothing written
    kExitOutputFailed = 6    // the output could not be written; an existing file is untouched
};

}  // namespace quillet::capture

#endif
