# Running the Windows programs under Wine from ctest.
#
# One private WINEPREFIX under the build directory, created by the setup fixture "wine_start"
# (about 6 s the first time), which also starts one persistent wineserver so that each program
# starts at once; "wine_stop" stops that server. When Wine cannot start, wine_start writes the
# reason to <state>/unavailable and every Windows test then reports itself skipped with it.
# QUILLET_WINE64: found by the toolchain file.
if(NOT QUILLET_WINE64)
  # Keep a name so that the fixture can say what is missing instead of the configure failing.
  set(QUILLET_WINE64 wine64)
endif()
set(QUILLET_WINE_STATE_DIR ${CMAKE_BINARY_DIR}/wine)
set(QUILLET_WINE_SKIP_TEXT "SKIPPED: Wine cannot start")

# The command put in front of every .exe: the wrapper sets the prefix, the locale and the debug
# channels, or reports the skip.
set(QUILLET_WINE_LAUNCHER sh ${CMAKE_CURRENT_LIST_DIR}/run-in-wine.sh ${QUILLET_WINE64}
    ${QUILLET_WINE_STATE_DIR})
# Targets created from here on run through it (add_test with a target, gtest_add_tests).
set(CMAKE_CROSSCOMPILING_EMULATOR ${QUILLET_WINE_LAUNCHER})

add_executable(wine_probe ${CMAKE_CURRENT_LIST_DIR}/wine_probe.cpp)

add_test(NAME wine_start
         COMMAND sh ${CMAKE_CURRENT_LIST_DIR}/wine-fixture.sh start ${QUILLET_WINE64}
                 ${QUILLET_WINE_STATE_DIR} $<TARGET_FILE:wine_probe>)
add_test(NAME wine_stop
         COMMAND sh ${CMAKE_CURRENT_LIST_DIR}/wine-fixture.sh stop ${QUILLET_WINE64}
                 ${QUILLET_WINE_STATE_DIR})
set_tests_properties(wine_start PROPERTIES FIXTURES_SETUP wine TIMEOUT 300
                     SKIP_REGULAR_EXPRESSION "${QUILLET_WINE_SKIP_TEXT}")
set_tests_properties(wine_stop PROPERTIES FIXTURES_CLEANUP wine TIMEOUT 60)

# quillet_wine_tests(<test>...): the tests need the running Wine and are skipped without it.
function(quillet_wine_tests)
  set_tests_properties(${ARGN} PROPERTIES FIXTURES_REQUIRED wine TIMEOUT 120
                       SKIP_REGULAR_EXPRESSION "${QUILLET_WINE_SKIP_TEXT}")
endfunction()

# quillet_windows_gtest(<name> <sources>...): a GoogleTest program, one ctest test per TEST,
# each run under Wine in its own process. Tests are found in the sources rather than by running
# the program, so nothing starts Wine at build time.
function(quillet_windows_gtest name)
  add_executable(${name} ${ARGN})
  target_link_libraries(${name} PRIVATE quillet_windows_core GTest::gtest_main)
  set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bin)
  gtest_add_tests(TARGET ${name} SOURCES ${ARGN} TEST_LIST tests)
  quillet_wine_tests(${tests})
endfunction()
