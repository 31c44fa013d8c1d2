# Libraries of standard formats that the product links: in the native build the host's library;
# for mingw a static library that scripts/build-lib<name>.sh builds from the Debian source
# package into PROJECT_THIRD_PARTY (a cache outside the repository) the first time it is needed.
function(project_third_party_library target)
  cmake_parse_arguments(arg "" "NAME;HEADER" "DEFINITIONS" ${ARGN})
  if(TARGET ${target})
    return()
  endif()
  if(WIN32)
    set(third_party ${PROJECT_THIRD_PARTY})
    if(NOT third_party)
      if(DEFINED ENV{PROJECT_THIRD_PARTY})
        set(third_party $ENV{PROJECT_THIRD_PARTY})
      else()
        set(third_party /var/cache/vontar-suite)
      endif()
    endif()
    set(root ${third_party}/lib${arg_NAME}/${MINGW_TRIPLET})
    set(archive ${root}/lib/lib${arg_NAME}.a)
    if(NOT EXISTS ${archive})
      message(STATUS "Building lib${arg_NAME} for ${MINGW_TRIPLET}")
      execute_process(
        COMMAND ${CMAKE_COMMAND} -E env PROJECT_THIRD_PARTY=${third_party}
                bash ${PROJECT_SOURCE_DIR}/scripts/build-lib${arg_NAME}.sh ${MINGW_TRIPLET}
        RESULT_VARIABLE result)
      if(NOT result EQUAL 0 OR NOT EXISTS ${archive})
        message(FATAL_ERROR
          "lib${arg_NAME} for ${MINGW_TRIPLET} is missing: run scripts/build-lib${arg_NAME}.sh")
      endif()
    endif()
    add_library(${target} STATIC IMPORTED GLOBAL)
    set_target_properties(${target} PROPERTIES
      IMPORTED_LOCATION ${archive}
      INTERFACE_INCLUDE_DIRECTORIES ${root}/include
      INTERFACE_COMPILE_DEFINITIONS "${arg_DEFINITIONS}")
  else()
    find_path(${target}_include ${arg_HEADER} REQUIRED)
    find_library(${target}_library ${arg_NAME} REQUIRED)
    add_library(${target} UNKNOWN IMPORTED GLOBAL)
    set_target_properties(${target} PROPERTIES
      IMPORTED_LOCATION ${${target}_library}
      INTERFACE_INCLUDE_DIRECTORIES ${${target}_include})
  endif()
endfunction()
