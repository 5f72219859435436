# Included by windows/CMakeLists.txt after tests/windows/tests.cmake: QuilletCapture.exe against
# Wine's WMI, its captures replayed on the Linux stand-in (the Linux build in build/, made by
# scripts/build.sh before the Windows tests run), the readers compared on both.
add_executable(read_properties ${CMAKE_CURRENT_LIST_DIR}/read_properties.cpp
               ${PROJECT_SOURCE_DIR}/tests/support/wmi_session.cpp)
target_include_directories(read_properties PRIVATE ${PROJECT_SOURCE_DIR}/tests/support)
target_link_libraries(read_properties PRIVATE quillet_windows_core)
set_target_properties(read_properties PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bin)

set(QUILLET_LINUX_BUILD_DIR ${PROJECT_SOURCE_DIR}/build CACHE PATH
    "The Linux build whose stand-in replays the captures of the Wine tests")
add_test(NAME capture_wine
         COMMAND ${QUILLET_PYTHON2} -m unittest -v test_wine_capture
         WORKING_DIRECTORY ${CMAKE_CURRENT_LIST_DIR})
set_tests_properties(capture_wine PROPERTIES ENVIRONMENT
    "CAPTURE_EXE=$<TARGET_FILE:QuilletCapture>;READER_EXE=$<TARGET_FILE:read_properties>;WINE_LAUNCHER=${launcher_words};QUILLET_LINUX_BUILD_DIR=${QUILLET_LINUX_BUILD_DIR}")
quillet_wine_tests(capture_wine)
