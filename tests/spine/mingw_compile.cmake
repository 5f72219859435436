# Compiles the engine, the readers, the COM holders and the trace output for Windows against
# MinGW-w64's own SDK headers: the product code must stay Windows code.
# Usage: cmake -DSOURCE_DIR=<repository> -P mingw_compile.cmake
set(compiler x86_64-w64-mingw32-g++)
find_program(MINGW_CXX ${compiler})
if(NOT MINGW_CXX)
  message(FATAL_ERROR "${compiler} not found: install g++-mingw-w64-x86-64-posix "
                      "(bash scripts/install-deps.sh --windows, run by scripts/test.sh)")
endif()

file(GLOB sources
     ${SOURCE_DIR}/facade/trace/*.cpp
     ${SOURCE_DIR}/facade/com/*.cpp
     ${SOURCE_DIR}/facade/wmiobject/*.cpp
     ${SOURCE_DIR}/facade/engine/*.cpp)
# These two create the Python-backed session records and belong to the module build.
list(FILTER sources EXCLUDE REGEX "/(session_query|wmiobject_array)\\.cpp$")

execute_process(
  COMMAND ${MINGW_CXX} -std=c++17 -Wall -Wextra -Werror -fsyntax-only -I${SOURCE_DIR}/facade ${sources}
  RESULT_VARIABLE result)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "MinGW-w64 compile failed")
endif()
list(LENGTH sources count)
message(STATUS "MinGW-w64 compiled ${count} sources")
