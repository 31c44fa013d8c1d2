# The archive library's tests, over the archives and makers of tests/support.
project_test(archive_tests
  SOURCES tests/byte_reader_test.cpp tests/seven_zip_archive_test.cpp tests/entry_names_test.cpp
          tests/extractor_test.cpp
  LIBS archive_test_support archive_container)
if(WIN32)
  project_test(qbr_archive_tests SOURCES tests/qbr_exports_test.cpp
    LIBS archive_test_support test_support qbr_archive_import core)
endif()
