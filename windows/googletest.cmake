# GoogleTest built from the distribution's sources with the cross compiler (there is no MinGW
# package of it). Only gtest and gtest_main; statically linked like everything else.
set(QUILLET_GOOGLETEST_SOURCE_DIR /usr/src/googletest/googletest CACHE PATH
    "GoogleTest sources to build with MinGW (Debian package googletest)")
if(NOT EXISTS ${QUILLET_GOOGLETEST_SOURCE_DIR}/CMakeLists.txt)
  message(FATAL_ERROR "GoogleTest sources not found in ${QUILLET_GOOGLETEST_SOURCE_DIR} "
                      "(apt-get install googletest)")
endif()
set(gtest_force_shared_crt OFF CACHE BOOL "" FORCE)
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
set(BUILD_SHARED_LIBS OFF)
add_subdirectory(${QUILLET_GOOGLETEST_SOURCE_DIR} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
