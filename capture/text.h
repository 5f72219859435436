// Text helpers of the capture: names compared as WMI does and HRESULTs for messages. UTF-8 comes
// from the stand-in's codec (sim/utf8.h), the one its MOF reader decodes captures with.
#ifndef QUILLET_CAPTURE_TEXT_H
#define QUILLET_CAPTURE_TEXT_H

#include <windows.h>

#include <string>

#include "sim/utf8.h"

// WMI names (classes, properties) compare without regard to ASCII case.
bool sameName(const std::wstring& a, const std::wstring& b);


#endif
