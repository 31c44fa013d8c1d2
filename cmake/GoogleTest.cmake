# GoogleTest and GoogleMock from Debian's googletest sources, built once per build tree.
set(GTEST_SOURCE_DIR /usr/src/googletest CACHE PATH "GoogleTest sources")
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
set(BUILD_GMOCK ON CACHE BOOL "" FORCE)
set(gtest_force_shared_crt OFF CACHE BOOL "" FORCE)
add_subdirectory(${GTEST_SOURCE_DIR} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL SYSTEM)
foreach(lib gtest gmock)
  if(NOT TARGET GTest::${lib})
    add_library(GTest::${lib} ALIAS ${lib})
  endif()
endforeach()
# Like the tests themselves, GoogleTest is built for a short build rather than a fast run.
foreach(lib gtest gmock)
  target_compile_options(${lib} PRIVATE ${PROJECT_TEST_COMPILE_OPTIONS})
endforeach()
# Our own main: it can set up what every test executable shares (nothing yet beyond GoogleTest).
add_library(project_test_main STATIC ${PROJECT_SOURCE_DIR}/tests/support/test_main.cpp)
target_link_libraries(project_test_main PUBLIC GTest::gtest GTest::gmock)
target_include_directories(project_test_main PUBLIC ${PROJECT_SOURCE_DIR})
target_compile_options(project_test_main PRIVATE ${PROJECT_TEST_COMPILE_OPTIONS})
# The precompiled header that every test executable reuses (project_test): parsing GoogleTest,
# GoogleMock and windows.h took most of the time of a small test file.
target_precompile_headers(project_test_main PRIVATE <gtest/gtest.h> <gmock/gmock.h>
                          $<$<PLATFORM_ID:Windows>:<windows.h$<ANGLE-R>>)
