# liblzma as target archive_liblzma: the host's library in the native build; for mingw the static
# build scripts/build-liblzma.sh makes from Debian's xz-utils source into PROJECT_THIRD_PARTY.
if(TARGET archive_liblzma)
  return()
endif()
if(WIN32)
  if(NOT PROJECT_THIRD_PARTY)
    if(DEFINED ENV{PROJECT_THIRD_PARTY})
      set(PROJECT_THIRD_PARTY $ENV{PROJECT_THIRD_PARTY})
    else()
      set(PROJECT_THIRD_PARTY /var/cache/vontar-suite)
    endif()
  endif()
  set(liblzma_root ${PROJECT_THIRD_PARTY}/liblzma/${MINGW_TRIPLET})
  if(NOT EXISTS ${liblzma_root}/lib/liblzma.a)
    message(STATUS "Building liblzma for ${MINGW_TRIPLET}")
    execute_process(
      COMMAND ${CMAKE_COMMAND} -E env PROJECT_THIRD_PARTY=${PROJECT_THIRD_PARTY}
              bash ${PROJECT_SOURCE_DIR}/scripts/build-liblzma.sh ${MINGW_TRIPLET}
      RESULT_VARIABLE liblzma_result)
    if(NOT liblzma_result EQUAL 0 OR NOT EXISTS ${liblzma_root}/lib/liblzma.a)
      message(FATAL_ERROR "liblzma for ${MINGW_TRIPLET} is missing: run scripts/build-liblzma.sh")
    endif()
  endif()
  add_library(archive_liblzma STATIC IMPORTED GLOBAL)
  set_target_properties(archive_liblzma PROPERTIES
    IMPORTED_LOCATION ${liblzma_root}/lib/liblzma.a
    INTERFACE_INCLUDE_DIRECTORIES ${liblzma_root}/include
    INTERFACE_COMPILE_DEFINITIONS LZMA_API_STATIC)
else()
  find_path(liblzma_include lzma.h REQUIRED)
  find_library(liblzma_library lzma REQUIRED)
  add_library(archive_liblzma UNKNOWN IMPORTED GLOBAL)
  set_target_properties(archive_liblzma PROPERTIES
    IMPORTED_LOCATION ${liblzma_library}
    INTERFACE_INCLUDE_DIRECTORIES ${liblzma_include})
endif()
