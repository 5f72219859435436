// Messages about the stand-in's own configuration (bad WMISIM_* values), on standard error.
#ifndef WINSIM_DIAGNOSTICS_H
#define WINSIM_DIAGNOSTICS_H

#include <string>

namespace winsim {

// Writes "wmisim: <message>" and a line end to standard error in one write. A message that
// cannot be composed for want of memory is lost.
void warn(const std::string& message) noexcept;

}  // namespace winsim

#endif
