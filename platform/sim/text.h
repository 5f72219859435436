// UTF-8 to wide text, for configuration read from the environment.
#ifndef WINSIM_TEXT_H
#define WINSIM_TEXT_H

#include <string>

namespace winsim {

// Invalid or truncated sequences become U+FFFD.
std::wstring fromUtf8(const std::string& text);

}  // namespace winsim

#endif
