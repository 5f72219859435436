# Compiles the engine, the readers, the COM holders and the trace output for Windows against
# MinGW-w64's own SDK headers: the product code must stay Windows code.
# Usage: cmake -DSOURCE_DIR=<repository> -DWORK_DIR=<scratch folder> -P mingw_compile.cmake
set(compiler x86_64-w64-mingw32-g++)
find_program(MINGW_CXX ${compiler})
if(NOT MINGW_CXX)
  message(FATAL_ERROR "${compiler} not found: install g++-mingw-w64-x86-64-posix "
                      "(bash scripts/install-deps.sh --windows, run by scripts/test.sh)")
endif()

include(${SOURCE_DIR}/cmake/sources.cmake)
quillet_sources(sources core)

set(flags -std=c++17 -Wall -Wextra -Werror)
# The SDK headers dominate the time; parse them once into a precompiled header.
file(MAKE_DIRECTORY ${WORK_DIR})
file(WRITE ${WORK_DIR}/sdk.h
     "#include <windows.h>\n#include <objbase.h>\n#include <oleauto.h>\n#include <wbemidl.h>\n"
     "#include <iostream>\n#include <string>\n#include <vector>\n")
execute_process(COMMAND ${MINGW_CXX} ${flags} -x c++-header ${WORK_DIR}/sdk.h -o ${WORK_DIR}/sdk.h.gch
                RESULT_VARIABLE result)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "MinGW-w64 could not compile the SDK headers")
endif()
execute_process(
  COMMAND ${MINGW_CXX} ${flags} -fsyntax-only -include ${WORK_DIR}/sdk.h -I${SOURCE_DIR}/facade ${sources}
  RESULT_VARIABLE result)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "MinGW-w64 compile failed")
endif()
list(LENGTH sources count)
message(STATUS "MinGW-w64 compiled ${count} sources")
