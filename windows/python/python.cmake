# Quillet.pyd for the Windows Pythons of this build's architecture (64-bit win_amd64 or 32-bit
# win32), built with MinGW-w64 on a machine that has no Windows Python: the interpreter's
# platform-independent headers come from a local (pyenv) install, the Windows configuration
# header from windows/python/<config>/, and the import library of the interpreter DLL from a
# .def file that lists exactly the functions and data the module uses.
#
# quillet_windows_pyd(<flavour> <dll> <headers> <config> <def> <init> [<definitions>...]), e.g.
#   quillet_windows_pyd(python27 python27 <prefix>/include/python2.7 py27
#                       python27-win_amd64.def initQuillet)
# builds <build>/<flavour>/Quillet.pyd (target Quillet_<flavour>) and registers the ctest
# <flavour>_pyd, which reads the .pyd with objdump: its machine, its one export, the DLLs it
# imports, and that the symbols it takes from the interpreter are exactly those of the .def.
set(QUILLET_PYD_DIR ${CMAKE_CURRENT_LIST_DIR})
quillet_pyenv_headers(headers 2.7)
set(QUILLET_PYTHON27_HEADERS "${headers}" CACHE PATH
    "CPython 2.7's headers (any platform's: the Windows configuration is the project's own)")
# The oldest Python 3 the module serves: its headers can only emit what its python3.dll has.
quillet_pyenv_headers(headers 3.8)
set(QUILLET_PYTHON3_HEADERS "${headers}" CACHE PATH
    "CPython 3.8's headers (any platform's: the Windows configuration is the project's own)")

# Everything that touches the Python API, compiled per interpreter; the rest comes from
# quillet_windows_core, which knows no Python.
quillet_sources(QUILLET_PYD_SOURCES python module)

# quillet_python_headers(<flavour> <headers> <config> <target>): <target> compiles against the
# interpreter's headers with the Windows configuration. The pyenv folder holds that
# interpreter's Linux pyconfig.h, which Python.h's #include "pyconfig.h" would find beside it
# before any include path, so the headers are copied without it.
function(quillet_python_headers flavour headers config target)
  set(copy ${CMAKE_BINARY_DIR}/${flavour}/include)
  file(COPY ${headers}/ DESTINATION ${copy} PATTERN pyconfig.h EXCLUDE)
  target_include_directories(${target} BEFORE PRIVATE ${QUILLET_PYD_DIR}/${config})
  # System headers: the 2.7 headers use "register", which C++17 warns about.
  target_include_directories(${target} SYSTEM PRIVATE ${copy})
endfunction()

function(quillet_windows_pyd flavour dll headers config def_name init)
  if(NOT EXISTS ${headers}/Python.h)
    message(WARNING "${headers}/Python.h not found: Quillet.pyd for ${dll}.dll is not built")
    return()
  endif()
  set(def ${QUILLET_PYD_DIR}/${def_name})
  set(import_library ${CMAKE_BINARY_DIR}/${flavour}/lib${dll}.a)
  # Python's functions are cdecl: the 32-bit import names stay undecorated, as the DLL exports
  # them, while the linker looks for the underscored C symbol (dlltool maps the two).
  add_custom_command(OUTPUT ${import_library}
      COMMAND ${CMAKE_DLLTOOL} --input-def ${def} --dllname ${dll}.dll --output-lib ${import_library}
      DEPENDS ${def}
      COMMENT "Import library of ${dll}.dll")
  add_custom_target(${flavour}_import_library DEPENDS ${import_library})

  set(target Quillet_${flavour})
  add_library(${target} MODULE ${QUILLET_PYD_SOURCES} ${QUILLET_PYD_DIR}/pyconfig_check.cpp)
  quillet_python_headers(${flavour} ${headers} ${config} ${target})
  target_compile_options(${target} PRIVATE -Werror)
  target_compile_definitions(${target} PRIVATE QUILLET_VERSION="${QUILLET_VERSION}" ${ARGN})
  add_dependencies(${target} ${flavour}_import_library)
  # Static C++ runtime (no MinGW DLL at run time); every symbol resolved at link time; no
  # debugging symbols in the shipped file.
  target_link_options(${target} PRIVATE -static -Wl,--no-undefined -s)
  target_link_libraries(${target} PRIVATE quillet_windows_core ${import_library})
  set_target_properties(${target} PROPERTIES
      OUTPUT_NAME Quillet PREFIX "" SUFFIX ".pyd"
      LIBRARY_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/${flavour})

  if(QUILLET_TESTS)
    add_test(NAME ${flavour}_pyd
             COMMAND ${CMAKE_COMMAND} -DPYD=$<TARGET_FILE:${target}> -DDEF=${def} -DDLL=${dll}.dll
                     -DINIT=${init} -DARCH=${QUILLET_WINDOWS_ARCH} -DOBJDUMP=${CMAKE_OBJDUMP}
                     -P ${QUILLET_PYD_DIR}/check_pyd.cmake)
  endif()
endfunction()

# 32-bit Python 2.7 names the module's init call Py_InitModule4, 64-bit Py_InitModule4_64:
# one .def per architecture. The stable ABI's names are the same on both.
quillet_windows_pyd(python27 python27 ${QUILLET_PYTHON27_HEADERS} py27
                    python27-${QUILLET_WINDOWS_ARCH}.def initQuillet)
quillet_windows_pyd(abi3 python3 ${QUILLET_PYTHON3_HEADERS} py3 python3.def PyInit_Quillet
                    Py_LIMITED_API=0x03080000)
