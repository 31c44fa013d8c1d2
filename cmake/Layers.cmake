# The layer rules of ARCHITECTURE.md, read from its table, and the helper that builds a layer's
# library from them: a layer links exactly the libraries of the folders it may include.

file(STRINGS ${PROJECT_SOURCE_DIR}/ARCHITECTURE.md layer_rows REGEX "^\\| `[^`]+` \\| `[^`]+` \\|")
set(PROJECT_LAYER_FOLDERS)
foreach(row IN LISTS layer_rows)
  string(REGEX MATCH "^\\| `([^`]+)` \\| `([^`]+)` \\|(.*)\\|$" matched "${row}")
  set(folder ${CMAKE_MATCH_1})
  set(library ${CMAKE_MATCH_2})
  string(REGEX MATCHALL "`[^`]+`" uses "${CMAKE_MATCH_3}")
  string(REPLACE "`" "" uses "${uses}")
  list(APPEND PROJECT_LAYER_FOLDERS ${folder})
  set(PROJECT_LAYER_LIBRARY_${folder} ${library})
  set(PROJECT_LAYER_USES_${folder} ${uses})
endforeach()

# The libraries of the folders that `folder` may use (those that exist in this build).
function(project_layer_libraries folder out)
  if(NOT DEFINED PROJECT_LAYER_LIBRARY_${folder})
    message(FATAL_ERROR "${folder} has no row in ARCHITECTURE.md's layer rules")
  endif()
  set(libraries)
  foreach(used IN LISTS PROJECT_LAYER_USES_${folder})
    list(APPEND libraries $<TARGET_NAME_IF_EXISTS:${PROJECT_LAYER_LIBRARY_${used}}>)
  endforeach()
  set(${out} ${libraries} PARENT_SCOPE)
endfunction()

# project_layer(FOLDER folder [SOURCES ...] [LIBS system libraries ...])
# The folder's static library under the name its row gives, linked to the libraries of the layers
# below it. A program linking the whole library alone proves it needs nothing from above.
function(project_layer)
  cmake_parse_arguments(ARG "" "FOLDER" "SOURCES;LIBS" ${ARGN})
  project_layer_libraries(${ARG_FOLDER} layers)
  set(name ${PROJECT_LAYER_LIBRARY_${ARG_FOLDER}})
  project_library(${name} SOURCES ${ARG_SOURCES} LIBS ${layers} ${ARG_LIBS})
  add_executable(${name}_link_check ${PROJECT_SOURCE_DIR}/cmake/layer_link_check.cpp)
  target_link_libraries(${name}_link_check PRIVATE $<LINK_LIBRARY:WHOLE_ARCHIVE,${name}>)
endfunction()

# The check that every quoted include names a header of a folder its layer may use.
find_package(Python3 COMPONENTS Interpreter)
if(Python3_FOUND)
  add_test(NAME layer_includes
           COMMAND ${Python3_EXECUTABLE} ${PROJECT_SOURCE_DIR}/cmake/check_layer_includes.py
                   ${PROJECT_SOURCE_DIR})
  set_tests_properties(layer_includes PROPERTIES LABELS layers)
endif()
