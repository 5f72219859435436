// CaptureError: a WMI call failed in a way that ends the capture. Thrown by the readers and
// caught once in main, so that every COM holder on the way out releases what it owns.
#ifndef QUILLET_CAPTURE_CAPTURE_ERROR_H
#define QUILLET_CAPTURE_CAPTURE_ERROR_H

#include <windows.h>

#include <stdexcept>
#include <string>

class CaptureError : public std::runtime_error
{
public:
    CaptureError(HRESULT hr, const std::string& what) : std::runtime_error(what), m_hr(hr) {}
    HRESULT result() const { return m_hr; }

private:
    HRESULT m_hr;
};

#endif
