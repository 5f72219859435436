#include "sim/sim.h"

namespace winsim {

HRESULT createWbemLocator(REFIID, void** ppv)
{
    if (ppv) *ppv = nullptr;
    return E_NOTIMPL;
}

}  // namespace winsim
