// No C++ exception leaves a platform entry point, as none leaves a Windows one: each entry
// point runs its work through guardedCall, which turns an exception (in practice
// std::bad_alloc, memory exhausted) into the entry point's failure result: E_OUTOFMEMORY,
// WBEM_E_OUT_OF_MEMORY or a null pointer.
// The work puts its out-parameters in their failure state before anything that may throw and
// hands out nothing the caller would have to release before the last thing that may throw.
#ifndef WINSIM_GUARDED_CALL_H
#define WINSIM_GUARDED_CALL_H

#include <exception>
#include <utility>

namespace winsim {

template <typename Work>
auto guardedCall(decltype(std::declval<Work&>()()) failure, Work&& work) noexcept
    -> decltype(work())
{
    try {
        return work();
    } catch (const std::exception&) {
        return failure;
    }
}

}  // namespace winsim

#endif
