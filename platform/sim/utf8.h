// The stand-in's code names the shared UTF-8 codec as part of its own namespace.
#ifndef WINSIM_UTF8_H
#define WINSIM_UTF8_H

#include "utf8/utf8.h"

namespace winsim {
using namespace unicode;
}  // namespace winsim

#endif
