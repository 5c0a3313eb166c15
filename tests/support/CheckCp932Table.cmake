# Regenerates the code page 932 table from this machine's glibc and fails when it differs from the one
# the repository carries.
execute_process(COMMAND ${PYTHON} ${SOURCE_DIR}/scripts/gen-cp932-table ${WORK_DIR}/cp932_table.inc
                RESULT_VARIABLE generated)
if(NOT generated EQUAL 0)
    message(FATAL_ERROR "gen-cp932-table failed")
endif()
execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files ${WORK_DIR}/cp932_table.inc
                        ${SOURCE_DIR}/src/util/cp932_table.inc RESULT_VARIABLE differs)
if(NOT differs EQUAL 0)
    message(FATAL_ERROR "src/util/cp932_table.inc differs from what glibc's CP932 converter gives now")
endif()
