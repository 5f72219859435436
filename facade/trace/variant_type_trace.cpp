#include "trace/variant_type_trace.h"

#include <iostream>

namespace quillet {

void traceVariantType(VARTYPE type)
{
    std::cout << " type = " << type << std::endl;
}

void traceArrayFlag(VARTYPE type)
{
    std::cout << " V_ISARRAY = " << static_cast<int>(type & VT_ARRAY) << std::endl;
}

void traceVariantTypeAndFlags(VARTYPE type)
{
    traceVariantType(static_cast<VARTYPE>(type & VT_TYPEMASK));
    traceArrayFlag(type);
    std::cout << " V_ISBYREF = " << static_cast<int>(type & VT_BYREF) << std::endl;
}

}  // namespace quillet
