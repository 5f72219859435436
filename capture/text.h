// Text helpers of the capture: names compared as WMI does, and the shared UTF-8 codec
// (utf8/utf8.h), the one the stand-in's MOF reader decodes captures with.
#ifndef QUILLET_CAPTURE_TEXT_H
#define QUILLET_CAPTURE_TEXT_H

#include <string>

#include "utf8/utf8.h"

namespace quillet::capture {

// WMI names (classes, properties) compare without regard to ASCII case.
bool sameName(const std::wstring& a, const std::wstring& b);

}  // namespace quillet::capture

#endif
