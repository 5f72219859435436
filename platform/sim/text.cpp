// HRESULTs as the log and the messages write them.
#include "sim/sim.h"

#include <cstdio>

namespace winsim {

std::string hresultText(HRESULT hr)
{
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "0x%08x", static_cast<unsigned int>(hr));
    return buffer;
}

}  // namespace winsim
