# Archives for the tests, made at build time by the system's 7-Zip, and the tests themselves.
find_program(SEVEN_ZIP NAMES 7z 7za 7zz REQUIRED)
find_package(Python3 COMPONENTS Interpreter REQUIRED)
set(archive_fixture_dir ${CMAKE_CURRENT_BINARY_DIR}/fixtures)
set(archive_fixture_names copy lzma lzma2 lzma2_multi bcj_lzma bcj_lzma2 encrypted
                          encrypted_header damaged damaged_block)
list(TRANSFORM archive_fixture_names PREPEND ${archive_fixture_dir}/ OUTPUT_VARIABLE archive_fixtures)
list(TRANSFORM archive_fixtures APPEND .7z)
add_custom_command(OUTPUT ${archive_fixtures}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${archive_fixture_dir}
  COMMAND ${Python3_EXECUTABLE} ${CMAKE_CURRENT_SOURCE_DIR}/tests/make_fixtures.py ${SEVEN_ZIP}
          ${archive_fixture_dir}
  DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/tests/make_fixtures.py
  VERBATIM)
add_custom_target(archive_fixtures DEPENDS ${archive_fixtures})

# Windows programs under Wine see the host's root as drive Z:.
if(WIN32)
  set(archive_fixture_path "Z:${archive_fixture_dir}")
else()
  set(archive_fixture_path "${archive_fixture_dir}")
endif()

project_library(archive_test_support SOURCES tests/tiny_7z_writer.cpp tests/fixture_files.cpp
  LIBS archive_container)
target_compile_definitions(archive_test_support PUBLIC
  ARCHIVE_FIXTURE_DIR="${archive_fixture_path}")
add_dependencies(archive_test_support archive_fixtures)

project_test(archive_tests
  SOURCES tests/byte_reader_test.cpp tests/seven_zip_archive_test.cpp tests/entry_names_test.cpp
          tests/extractor_test.cpp
  LIBS archive_test_support archive_container)
if(WIN32)
  project_library(archive_win32_test_support SOURCES tests/scratch_folder_win32.cpp LIBS core)
  project_test(qbr_archive_tests SOURCES tests/qbr_exports_test.cpp
    LIBS archive_test_support archive_win32_test_support qbr_archive_import core)
endif()
