// CaptureError: a WMI call failed in a way that ends the capture. Thrown by the readers and
// caught once in main, so that every COM holder on the way out releases what it owns. Every
// message about a call is built here, so that they all read alike.
#ifndef QUILLET_CAPTURE_CAPTURE_ERROR_H
#define QUILLET_CAPTURE_CAPTURE_ERROR_H

#include <windows.h>

#include <stdexcept>
#include <string>

namespace quillet::capture {

class CaptureError : public std::runtime_error
{
public:
    // `message` says it all; `hr` decides the exit code (access denied or not).
    CaptureError(HRESULT hr, const std::string& message) : std::runtime_error(message), m_hr(hr) {}
    HRESULT result() const { return m_hr; }

private:
    HRESULT m_hr;
};

// "0x80041010 (WBEM_E_INVALID_CLASS)"; the name only for the codes a capture meets.
std::string describeHresult(HRESULT hr);

// What a failed call says: "<call> failed for <subject>: <HRESULT>", or "<call> failed with
// <HRESULT>" without a subject. A success code that handed out nothing is a failure too:
// "<call> answered <HRESULT> without a result[ for <subject>]".
std::string failedCallText(HRESULT hr, bool handedOut, const std::string& call,
                           const std::string& subject);

// Throws CaptureError when `hr` failed, or when it succeeded and `result` is still null.
void checkCall(HRESULT hr, const char* call, const std::string& subject);
void checkCall(HRESULT hr, const void* result, const char* call, const std::string& subject);

}  // namespace quillet::capture

#endif
