# The Windows-only tests, included by windows/CMakeLists.txt (the Linux build never reads this
# file). Every .exe runs under Wine through the launcher of windows/wine.cmake.
set(QUILLET_CONFORMANCE_DIR ${PROJECT_SOURCE_DIR}/tests/conformance)
set(QUILLET_SUPPORT_DIR ${PROJECT_SOURCE_DIR}/tests/support)
# The same OLE Automation and reader tests as on Linux, against Wine's oleaut32 and WMI.
quillet_windows_gtest(conformance_tests
    ${QUILLET_CONFORMANCE_DIR}/bstr_test.cpp
    ${QUILLET_CONFORMANCE_DIR}/variant_test.cpp
    ${QUILLET_CONFORMANCE_DIR}/safearray_test.cpp
    ${QUILLET_CONFORMANCE_DIR}/raw_smbios_tables_test.cpp
    ${QUILLET_CONFORMANCE_DIR}/utf8_test.cpp
    ${QUILLET_SUPPORT_DIR}/wmi_session.cpp)
target_include_directories(conformance_tests PRIVATE ${QUILLET_SUPPORT_DIR})
target_link_libraries(conformance_tests PRIVATE quillet_utf8)

# The engine and the readers against Wine's WMI.
quillet_windows_gtest(wine_wmi_tests
    ${CMAKE_CURRENT_LIST_DIR}/engine_wine_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/readers_wine_test.cpp
    ${QUILLET_SUPPORT_DIR}/wmi_session.cpp)
target_include_directories(wine_wmi_tests PRIVATE ${QUILLET_SUPPORT_DIR})

# String properties converted for Windows Python 2.7's UTF-16 unicode objects. Built with that
# interpreter's headers; the conversion calls nothing in python27.dll, so it runs without one.
if(EXISTS ${QUILLET_PYTHON27_HEADERS}/Python.h)
  quillet_windows_gtest(py27_text_tests
      ${CMAKE_CURRENT_LIST_DIR}/py_text_wine_test.cpp
      ${PROJECT_SOURCE_DIR}/facade/python/py_text.cpp
      ${QUILLET_SUPPORT_DIR}/fake_class_object.cpp
      ${QUILLET_SUPPORT_DIR}/allocation_fault.cpp)
  target_include_directories(py27_text_tests PRIVATE ${QUILLET_SUPPORT_DIR})
  quillet_python_headers(python27 ${QUILLET_PYTHON27_HEADERS} py27 py27_text_tests)
endif()

# The 32-bit build stops here. What differs from 64-bit lies in the tests above: VARIANT,
# SAFEARRAY and BSTR layouts and the stdcall COM calls into Wine's 32-bit oleaut32 and WMI
# (conformance, engine and readers), and Python 2.7's 32-bit headers with the UTF-16 text
# conversion. The setup command and the capture program ship 64-bit only; the trace writer and
# the checks below do not depend on the pointer size.
if(QUILLET_WINDOWS_ARCH STREQUAL "win32")
  return()
endif()

# The trace's line writer, its output read from a pipe and from Wine's console.
add_executable(trace_lines_probe ${CMAKE_CURRENT_LIST_DIR}/trace_lines_probe.cpp)
target_link_libraries(trace_lines_probe PRIVATE quillet_windows_core)
set_target_properties(trace_lines_probe PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bin)

# The PE check of Quillet.pyd against canned objdump output with one fault each.
add_test(NAME check_pyd_faults
         COMMAND ${CMAKE_COMMAND} -DCHECK=${PROJECT_SOURCE_DIR}/windows/python/check_pyd.cmake
                 -DWORK_DIR=${CMAKE_CURRENT_BINARY_DIR}/check_pyd_faults
                 -P ${CMAKE_CURRENT_LIST_DIR}/check_pyd_test.cmake)

# Ostrand.exe under Wine: the command-line table shared with the Linux run, and what only
# Windows shows. spawn.exe is a Windows parent process.
add_executable(spawn ${CMAKE_CURRENT_LIST_DIR}/spawn.cpp)
set_target_properties(spawn PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bin)

quillet_pyenv_python(pyenv_python2 2.7)
get_filename_component(pyenv_bin "${pyenv_python2}" DIRECTORY)
find_program(QUILLET_PYTHON2 NAMES python2.7 HINTS ${pyenv_bin})
if(NOT QUILLET_PYTHON2)
  message(WARNING "python2.7 not found: the Ostrand.exe tests under Wine are not registered")
  return()
endif()
string(REPLACE ";" " " launcher_words "${QUILLET_WINE_LAUNCHER}")
add_test(NAME ostrand_wine
         COMMAND ${QUILLET_PYTHON2} ${CMAKE_CURRENT_LIST_DIR}/test_ostrand_wine.py
         WORKING_DIRECTORY ${CMAKE_CURRENT_LIST_DIR})
set_tests_properties(ostrand_wine PROPERTIES ENVIRONMENT
    "PYTHONPATH=${PROJECT_SOURCE_DIR}/tests/pylib;OSTRAND_EXE=$<TARGET_FILE:Ostrand>;OSTRAND_DLL=$<TARGET_FILE:ostrand_setuplib>;OSTRAND_SPAWN=$<TARGET_FILE:spawn>;OSTRAND_LAUNCHER=${launcher_words};QUILLET_WINE_STATE_DIR=${QUILLET_WINE_STATE_DIR}")
quillet_wine_tests(ostrand_wine)

add_test(NAME trace_wine
         COMMAND ${QUILLET_PYTHON2} ${CMAKE_CURRENT_LIST_DIR}/test_trace_wine.py -v)
set_tests_properties(trace_wine PROPERTIES ENVIRONMENT
    "TRACE_PROBE=$<TARGET_FILE:trace_lines_probe>;WINE_LAUNCHER=${launcher_words}")
quillet_wine_tests(trace_wine)

# setup.py's Windows flags, on the host's Pythons (both language lines where present). Debian's
# python3 has setuptools; pyenv's shims depend on the active version.
find_program(QUILLET_PYTHON3 NAMES python3 PATHS /usr/bin NO_DEFAULT_PATH)
foreach(python IN ITEMS ${QUILLET_PYTHON2} ${QUILLET_PYTHON3})
  get_filename_component(python_name ${python} NAME)
  add_test(NAME windows_build_ext_${python_name}
           COMMAND ${python} ${PROJECT_SOURCE_DIR}/tests/packaging/test_windows_build_ext.py)
endforeach()

# The wheels of the modules built here: made by wheel pack from the sdist's metadata.
if(QUILLET_PYTHON3)
  add_test(NAME pack_wheel
           COMMAND ${QUILLET_PYTHON3} ${PROJECT_SOURCE_DIR}/tests/packaging/test_pack_wheel.py)
endif()
