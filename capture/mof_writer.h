// Writes a Capture as MOF in the subset the offline stand-in reads, UTF-8: the header comment,
// `#pragma namespace`, the classes (each after its superclass, with the properties it adds or
// changes), then the instances with every property (NULL where unset).
#ifndef QUILLET_CAPTURE_MOF_WRITER_H
#define QUILLET_CAPTURE_MOF_WRITER_H

#include <string>

#include "capture/captured.h"

namespace quillet::capture {

// `capturedAt` is the capture time for the header ("2026-12-08T20:15:00Z").
std::string writeMof(const Capture& capture, const std::string& capturedAt);

// A MOF string literal, quotes included: \\ \" \n \r \t escaped, other control characters,
// lone surrogates and U+FFFE/U+FFFF as \xHHHH, the rest as UTF-8.
std::string mofString(const std::wstring& text);

}  // namespace quillet::capture

#endif
