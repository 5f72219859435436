# The .pyd check must refuse the faults it exists for: a MinGW runtime DLL imported, symbols
# exported beyond the init function, a .def that lists a name the module does not use or misses
# one it does. It reads canned objdump output here, so each fault is shown on its own.
# Usage: cmake -DCHECK=<check_pyd.cmake> -DWORK_DIR=<scratch folder> -P check_pyd_test.cmake
cmake_minimum_required(VERSION 3.20)
file(MAKE_DIRECTORY ${WORK_DIR})

# The parts of "objdump -p Quillet.pyd" that the check reads.
set(header "x.pyd:     file format pei-x86-64\n\nCharacteristics 0x2026\n\texecutable\n\tDLL\n\n")
set(table "\tvma:  Hint/Ord Member-Name Bound-To\n")
string(CONCAT python "\tDLL Name: python27.dll\n${table}\tf8ad8\t    1  PyArg_ParseTuple\n"
                     "\tf8bda\t   15  Py_InitModule4_64\n\n")
set(kernel "\tDLL Name: KERNEL32.dll\n${table}\tf8c1e\t  141  CloseHandle\n\n")
set(runtime "\tDLL Name: libstdc++-6.dll\n${table}\tf8d00\t    7  _ZSt4cout\n\n")
set(exports "[Ordinal/Name Pointer] Table\n\t[   0] initQuillet\n")
set(extra_export "\t[   1] _ZN9WMIObjectD1Ev\n")
set(def "LIBRARY python27.dll\nEXPORTS\n    PyArg_ParseTuple\n    Py_InitModule4_64\n")

# case <name> <dump> <def> <expected output, a regular expression or PASS> [<arch>]
function(case name dump def expected)
  set(arch win_amd64)
  if(ARGN)
    set(arch ${ARGN})
  endif()
  file(WRITE ${WORK_DIR}/${name}.txt "${dump}")
  file(WRITE ${WORK_DIR}/${name}.def "${def}")
  execute_process(
      COMMAND ${CMAKE_COMMAND} -DPYD=${WORK_DIR}/${name}.txt -DDEF=${WORK_DIR}/${name}.def
              -DDLL=python27.dll -DINIT=initQuillet -DARCH=${arch}
              "-DOBJDUMP=sh;-c;cat \"$2\";objdump"
              -P ${CHECK}
      RESULT_VARIABLE result OUTPUT_VARIABLE output ERROR_VARIABLE output)
  if(expected STREQUAL "PASS")
    if(NOT result EQUAL 0)
      message(SEND_ERROR "${name}: refused a sound module:\n${output}")
    endif()
  elseif(result EQUAL 0 OR NOT output MATCHES "${expected}")
    message(SEND_ERROR "${name}: expected a failure matching \"${expected}\", got:\n${output}")
  endif()
endfunction()

case(sound "${header}${python}${kernel}${exports}" "${def}" PASS)
# The machine must be the wheel's: a 64-bit file in a win32 wheel does not load.
case(wrong_machine "${header}${python}${kernel}${exports}" "${def}"
     "not a 32-bit x86 \\(PE32\\) PE file" win32)
string(REPLACE "pei-x86-64" "pei-i386" header32 "${header}")
case(sound_32bit "${header32}${python}${kernel}${exports}" "${def}" PASS win32)
case(runtime_dll "${header}${python}${kernel}${runtime}${exports}" "${def}"
     "may not need: libstdc\\+\\+-6\\.dll")
case(extra_export "${header}${python}${kernel}${exports}${extra_export}" "${def}"
     "exports \\[initQuillet;_ZN9WMIObjectD1Ev\\], expected only initQuillet")
case(stale_def "${header}${python}${kernel}${exports}" "${def}    PyInt_FromLong\n"
     "in the .def but not used by the module: PyInt_FromLong")
case(short_def "${header}${python}${kernel}${exports}"
     "LIBRARY python27.dll\nEXPORTS\n    PyArg_ParseTuple\n"
     "imported from python27.dll but not in the .def: Py_InitModule4_64")
case(no_interpreter "${header}${kernel}${exports}" "LIBRARY python27.dll\nEXPORTS\n"
     "imports nothing from python27.dll")
