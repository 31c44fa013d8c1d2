# Build-wide settings and the helpers every folder uses to declare its targets.

if(NOT CMAKE_BUILD_TYPE)
  set(CMAKE_BUILD_TYPE RelWithDebInfo CACHE STRING "" FORCE)
endif()

# Tests are built where they can run: the x64 build (under Wine) and the native build.
if(WIN32 AND CMAKE_SIZEOF_VOID_P EQUAL 4)
  set(PROJECT_BUILD_TESTS OFF)
  # Nothing of the x86 build runs here, so nobody reads its debug information: it is left out.
  add_compile_options(-g0)
else()
  set(PROJECT_BUILD_TESTS ON)
endif()

if(WIN32)
  add_compile_definitions(UNICODE _UNICODE WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0601
                          WINVER=0x0601)
  add_compile_options(-Wall -Wextra -Wno-unused-parameter -Wno-cast-function-type)
  # No MinGW runtime DLL is shipped: everything is linked in.
  add_link_options(-static -static-libgcc -static-libstdc++)
  # Programs, DLLs and test executables side by side, so tests and the demo load DLLs by name.
  set(CMAKE_RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bin)
  if(CMAKE_SIZEOF_VOID_P EQUAL 8)
    configure_file(${CMAKE_CURRENT_LIST_DIR}/wine-run.in ${CMAKE_BINARY_DIR}/wine-run @ONLY
                   FILE_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE
                                    WORLD_READ WORLD_EXECUTE)
    set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_BINARY_DIR}/wine-run)
  endif()
  find_program(PROJECT_OBJDUMP NAMES ${MINGW_TRIPLET}-objdump objdump REQUIRED)
else()
  # The native build exists to run the portable code under the sanitizers: -O1 keeps their reports
  # exact and line tables name the lines, at a good part less compile time than -O2 with full
  # debug information.
  set(CMAKE_C_FLAGS_RELWITHDEBINFO "-O1 -g1 -DNDEBUG")
  set(CMAKE_CXX_FLAGS_RELWITHDEBINFO "-O1 -g1 -DNDEBUG")
  add_compile_options(-Wall -Wextra -Wno-unused-parameter -fsanitize=address,undefined
                      -fno-sanitize-recover=all -fno-omit-frame-pointer)
  add_link_options(-fsanitize=address,undefined)
  # The fuzzing tree (scripts/fuzz.sh, clang): every library carries libFuzzer's coverage
  # instrumentation; only the fuzz programs link the fuzzer's own main.
  option(PROJECT_FUZZING "Build the fuzz targets as libFuzzer programs" OFF)
  if(PROJECT_FUZZING)
    add_compile_options(-fsanitize=fuzzer-no-link)
  endif()
endif()

# Test code is built for a short build, not a fast run: the code under test keeps the build's
# optimisation, and the tests' own files (and the libraries of tests/ folders) take -O0. The
# Windows builds drop their debug information too: mingw's DWARF makes the objects several times
# larger and the links slower, and a failing test under Wine is read from its assertion output. The
# native build keeps -g, so that the sanitizers' reports name the lines.
set(PROJECT_TEST_COMPILE_OPTIONS -O0)
if(WIN32)
  list(APPEND PROJECT_TEST_COMPILE_OPTIONS -g0)
endif()

# project_library(name [SOURCES ...] [LIBS ...] [INCLUDES ...])
# A static library; its folder's parent of parents is on the include path, so headers are included
# as "support/cipher/blowfish.h".
function(project_library name)
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
  add_library(${name} STATIC ${ARG_SOURCES})
  target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR})
  target_link_libraries(${name} PUBLIC ${ARG_LIBS})
  file(RELATIVE_PATH folder ${PROJECT_SOURCE_DIR} ${CMAKE_CURRENT_SOURCE_DIR})
  if(folder MATCHES "(^|/)tests(/|$)")
    target_compile_options(${name} PRIVATE ${PROJECT_TEST_COMPILE_OPTIONS})
  else()
    # Portable files compile eight to a translation unit: most of a file's compile time goes to
    # the standard library's headers, paid once per unit. The Win32 adapters stay on their own:
    # windows.h defines macros (DrawText, DeleteFile, CreateWindow ...) that would rename the
    # portable code's own names in the files they share a unit with.
    set_target_properties(${name} PROPERTIES UNITY_BUILD ON UNITY_BUILD_BATCH_SIZE 8)
    foreach(source IN LISTS ARG_SOURCES)
      if(source MATCHES "_win32\\.cpp$")
        set_source_files_properties(${source} PROPERTIES SKIP_UNITY_BUILD_INCLUSION ON)
      endif()
    endforeach()
  endif()
endfunction()

# project_dll(name DEF file.def [SOURCES ...] [LIBS ...] [OUTPUT_NAME name])
# A deliverable DLL with the export names of its .def file on both bitnesses.
function(project_dll name)
  cmake_parse_arguments(ARG "" "DEF;OUTPUT_NAME" "SOURCES;LIBS" ${ARGN})
  add_library(${name} SHARED ${ARG_SOURCES} ${ARG_DEF})
  target_link_libraries(${name} PRIVATE ${ARG_LIBS})
  set_target_properties(${name} PROPERTIES PREFIX "" IMPORT_PREFIX "")
  if(ARG_OUTPUT_NAME)
    set_target_properties(${name} PROPERTIES OUTPUT_NAME ${ARG_OUTPUT_NAME})
  endif()
  if(CMAKE_SIZEOF_VOID_P EQUAL 4)
    # i686 __stdcall symbols carry "@N"; the .def names are the plain ones.
    target_link_options(${name} PRIVATE -Wl,--kill-at -Wl,--enable-stdcall-fixup)
  endif()
endfunction()

# The longest test executables (seconds of a run on two cores). CTest starts tests by their cost,
# longest first, but a fresh build tree has no timings of its own yet, so without these it would
# start them in declaration order and end the run with the longest one running alone.
set(PROJECT_TEST_COSTS deployrun_process_tests=260 snapwipe_com_tests=45 setup_engine_tests=25
                       process_tests=18 setup_installer_tests=12 shred_snapshots_tests=10
                       shred_dll_tests=9)

# project_test(name SOURCES ... [LIBS ...] [LABELS ...] [SEPARATE ...])
# One GoogleTest executable; CTest runs it under Wine in the x64 build and natively otherwise.
# SEPARATE names the sources that compile on their own, outside the executable's one translation
# unit (their file-local helpers share names with another file's).
function(project_test name)
  if(NOT PROJECT_BUILD_TESTS)
    return()
  endif()
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBS;LABELS;SEPARATE" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} GTest::gtest GTest::gmock project_test_main)
  target_compile_options(${name} PRIVATE ${PROJECT_TEST_COMPILE_OPTIONS})
  # GoogleTest's headers (and windows.h) once per build tree instead of once per test file.
  target_precompile_headers(${name} REUSE_FROM project_test_main)
  # A test executable's files compile as one translation unit: each separate file paid again for
  # loading the precompiled header and for instantiating GoogleTest's templates, most of a test's
  # compile time (about a sixth of the processor time as one unit).
  set_target_properties(${name} PROPERTIES UNITY_BUILD ON UNITY_BUILD_BATCH_SIZE 0)
  if(ARG_SEPARATE)
    set_source_files_properties(${ARG_SEPARATE} PROPERTIES SKIP_UNITY_BUILD_INCLUSION ON)
  endif()
  add_test(NAME ${name} COMMAND ${name} --gtest_brief=1)
  set_tests_properties(${name} PROPERTIES TIMEOUT 600 LABELS "${ARG_LABELS}")
  foreach(entry IN LISTS PROJECT_TEST_COSTS)
    if(entry MATCHES "^${name}=([0-9]+)$")
      set_tests_properties(${name} PROPERTIES COST ${CMAKE_MATCH_1})
    endif()
  endforeach()
endfunction()

# project_check_exports(target EXPECTED file)
# Compares the DLL's export table (ordinal and name per line) with the expected list.
function(project_check_exports target)
  if(NOT WIN32)
    return()
  endif()
  cmake_parse_arguments(ARG "" "EXPECTED" "" ${ARGN})
  add_test(NAME ${target}_exports
           COMMAND ${CMAKE_COMMAND} -DOBJDUMP=${PROJECT_OBJDUMP} -DBINARY=$<TARGET_FILE:${target}>
                   -DEXPECTED=${ARG_EXPECTED} -P ${PROJECT_SOURCE_DIR}/cmake/CheckExports.cmake)
  set_tests_properties(${target}_exports PROPERTIES LABELS exports)
endfunction()
