# libjpeg as target htmlview_libjpeg: the host's library in the native build; for mingw the static
# build scripts/build-libjpeg.sh makes from Debian's libjpeg-turbo source into PROJECT_THIRD_PARTY.
if(TARGET htmlview_libjpeg)
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
  set(libjpeg_root ${PROJECT_THIRD_PARTY}/libjpeg/${MINGW_TRIPLET})
  if(NOT EXISTS ${libjpeg_root}/lib/libjpeg.a)
    message(STATUS "Building libjpeg for ${MINGW_TRIPLET}")
    execute_process(
      COMMAND ${CMAKE_COMMAND} -E env PROJECT_THIRD_PARTY=${PROJECT_THIRD_PARTY}
              bash ${PROJECT_SOURCE_DIR}/scripts/build-libjpeg.sh ${MINGW_TRIPLET}
      RESULT_VARIABLE libjpeg_result)
    if(NOT libjpeg_result EQUAL 0 OR NOT EXISTS ${libjpeg_root}/lib/libjpeg.a)
      message(FATAL_ERROR "libjpeg for ${MINGW_TRIPLET} is missing: run scripts/build-libjpeg.sh")
    endif()
  endif()
  add_library(htmlview_libjpeg STATIC IMPORTED GLOBAL)
  set_target_properties(htmlview_libjpeg PROPERTIES
    IMPORTED_LOCATION ${libjpeg_root}/lib/libjpeg.a
    INTERFACE_INCLUDE_DIRECTORIES ${libjpeg_root}/include)
else()
  find_path(libjpeg_include jpeglib.h REQUIRED)
  find_library(libjpeg_library jpeg REQUIRED)
  add_library(htmlview_libjpeg UNKNOWN IMPORTED GLOBAL)
  set_target_properties(htmlview_libjpeg PROPERTIES
    IMPORTED_LOCATION ${libjpeg_library}
    INTERFACE_INCLUDE_DIRECTORIES ${libjpeg_include})
endif()
