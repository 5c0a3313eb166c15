# The folder a site copies, zipped: ovalith.app with Qt inside it, ovalith-collect and ovalith-report
# beside it using the bundle's Qt, and the sample DAT/ lists. cmake -DBIN_DIR= -DOUT_DIR= -DVERSION= -DMACDEPLOYQT= -P
set(stage ${OUT_DIR}/ovalith-package/ovalith)
set(zip ${OUT_DIR}/ovalith-${VERSION}-macos.zip)
file(REMOVE_RECURSE ${OUT_DIR}/ovalith-package)
file(REMOVE ${zip})
file(MAKE_DIRECTORY ${stage})
execute_process(COMMAND ditto ${BIN_DIR}/ovalith.app ${stage}/ovalith.app COMMAND_ERROR_IS_FATAL ANY)
set(commands ovalith-collect ovalith-report)
if(NOT EXISTS ${BIN_DIR}/ovalith-report)
    message(FATAL_ERROR "the zip carries ovalith-report, which needs libxlsxwriter in CMAKE_PREFIX_PATH "
                        "(the workflow's macOS job shows how to build it)")
endif()
foreach(command IN LISTS commands)
    file(COPY ${BIN_DIR}/${command} DESTINATION ${stage})
endforeach()
file(COPY ${BIN_DIR}/DAT DESTINATION ${stage})
execute_process(COMMAND ${MACDEPLOYQT} ${stage}/ovalith.app COMMAND_ERROR_IS_FATAL ANY)

# The commands find Qt in the bundle beside them and nowhere else (libxlsxwriter is linked in whole).
foreach(command IN LISTS commands)
    execute_process(COMMAND otool -l ${stage}/${command} OUTPUT_VARIABLE loads COMMAND_ERROR_IS_FATAL ANY)
    string(REGEX MATCHALL "path [^\n]+ \\(offset [0-9]+\\)" rpaths "${loads}")
    foreach(entry IN LISTS rpaths)
        string(REGEX REPLACE "^path (.+) \\(offset [0-9]+\\)$" "\\1" rpath "${entry}")
        execute_process(COMMAND install_name_tool -delete_rpath ${rpath} ${stage}/${command}
                        COMMAND_ERROR_IS_FATAL ANY)
    endforeach()
    execute_process(COMMAND install_name_tool -add_rpath @executable_path/ovalith.app/Contents/Frameworks
                            ${stage}/${command} COMMAND_ERROR_IS_FATAL ANY)
endforeach()

# Signed ad hoc: on Apple silicon a binary changed after linking is killed unless it is signed again.
execute_process(COMMAND codesign --force --deep -s - ${stage}/ovalith.app COMMAND_ERROR_IS_FATAL ANY)
foreach(command IN LISTS commands)
    execute_process(COMMAND codesign --force -s - ${stage}/${command} COMMAND_ERROR_IS_FATAL ANY)
endforeach()
execute_process(COMMAND ditto -c -k --sequesterRsrc --keepParent ${stage} ${zip} COMMAND_ERROR_IS_FATAL ANY)
message(STATUS "package: ${zip}")
