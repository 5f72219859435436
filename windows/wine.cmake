# Running the Windows programs under Wine from ctest.
#
# One private WINEPREFIX under the build directory, created by the setup fixture "wine_start"
# (about 6 s the first time), which also starts one persistent wineserver so that each program
# starts at once; "wine_stop" stops that server. When Wine cannot start, wine_start writes the
# reason to <state>/unavailable and every Windows test then reports itself skipped with it.
#
# The 32-bit build runs its programs with the 32-bit loader ("wine", Debian's wine32) in a
# 32-bit prefix: the programs then meet 32-bit Windows' structure layouts and calling
# conventions in Wine's own 32-bit DLLs.
if(CMAKE_SIZEOF_VOID_P EQUAL 4)
  set(loader wine)
  set(QUILLET_WINEARCH win32)
  set(packages "wine32, i386 multiarch")
else()
  set(loader wine64)
  set(QUILLET_WINEARCH win64)
  set(packages "wine and wine64")
endif()
find_program(QUILLET_WINE NAMES ${loader} PATHS /usr/lib/wine NO_DEFAULT_PATH)
find_program(QUILLET_WINE NAMES ${loader})
if(NOT QUILLET_WINE)
  # Keep a path so that the fixture can say what is missing instead of the configure failing.
  set(QUILLET_WINE /usr/lib/wine/${loader})
endif()
get_filename_component(wine_dir ${QUILLET_WINE} DIRECTORY)
set(QUILLET_WINESERVER ${wine_dir}/wineserver CACHE FILEPATH "Wine's server")
set(QUILLET_WINE_STATE_DIR ${CMAKE_BINARY_DIR}/wine)
set(QUILLET_WINE_SKIP_TEXT "SKIPPED: Wine cannot start")

# The command put in front of every .exe: the wrapper sets the prefix, the locale and the debug
# channels, or reports the skip.
set(QUILLET_WINE_LAUNCHER sh ${CMAKE_CURRENT_LIST_DIR}/run-in-wine.sh ${QUILLET_WINE}
    ${QUILLET_WINE_STATE_DIR})
# Targets created from here on run through it (add_test with a target, gtest_add_tests).
set(CMAKE_CROSSCOMPILING_EMULATOR ${QUILLET_WINE_LAUNCHER})

add_executable(wine_probe ${CMAKE_CURRENT_LIST_DIR}/wine_probe.cpp)

add_test(NAME wine_start
         COMMAND ${CMAKE_COMMAND} -E env WINEARCH=${QUILLET_WINEARCH} "WINE_PACKAGES=${packages}"
                 sh ${CMAKE_CURRENT_LIST_DIR}/wine-fixture.sh start ${QUILLET_WINE}
                 ${QUILLET_WINESERVER} ${QUILLET_WINE_STATE_DIR} $<TARGET_FILE:wine_probe>)
add_test(NAME wine_stop
         COMMAND sh ${CMAKE_CURRENT_LIST_DIR}/wine-fixture.sh stop ${QUILLET_WINE}
                 ${QUILLET_WINESERVER} ${QUILLET_WINE_STATE_DIR})
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
