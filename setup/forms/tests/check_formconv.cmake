# Compiles a text form to a page file with formconv, compares it with the committed page file,
# converts it back and compares the text with the source. On a mismatch the actual output stays
# beside the expected file in the work folder.
set(run ${EMULATOR} ${FORMCONV})
file(MAKE_DIRECTORY ${WORK})
get_filename_component(name ${SOURCE} NAME_WE)
execute_process(COMMAND ${run} text-to-binary ${SOURCE} ${WORK}/${name}.dfm RESULT_VARIABLE failed)
if(failed)
  message(FATAL_ERROR "formconv text-to-binary failed")
endif()
execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files ${WORK}/${name}.dfm ${GOLDEN}
                RESULT_VARIABLE differs)
if(differs)
  message(FATAL_ERROR "${WORK}/${name}.dfm differs from ${GOLDEN}")
endif()
execute_process(COMMAND ${run} binary-to-text ${GOLDEN} ${WORK}/${name}.txt RESULT_VARIABLE failed)
if(failed)
  message(FATAL_ERROR "formconv binary-to-text failed")
endif()
execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files ${WORK}/${name}.txt ${SOURCE}
                RESULT_VARIABLE differs)
if(differs)
  message(FATAL_ERROR "${WORK}/${name}.txt differs from ${SOURCE}")
endif()
