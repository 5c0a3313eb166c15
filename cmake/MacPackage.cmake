# The folder a site copies, zipped: ovalith.app with Qt inside it, ovalith-collect beside it using the
# bundle's Qt, and the sample DAT/ lists. cmake -DBIN_DIR= -DOUT_DIR= -DVERSION= -DMACDEPLOYQT= -P
set(stage ${OUT_DIR}/ovalith-package/ovalith)
set(zip ${OUT_DIR}/ovalith-${VERSION}-macos.zip)
file(REMOVE_RECURSE ${OUT_DIR}/ovalith-package)
file(REMOVE ${zip})
file(MAKE_DIRECTORY ${stage})
execute_process(COMMAND ditto ${BIN_DIR}/ovalith.app ${stage}/ovalith.app COMMAND_ERROR_IS_FATAL ANY)
file(COPY ${BIN_DIR}/ovalith-collect ${BIN_DIR}/DAT DESTINATION ${stage})
execute_process(COMMAND ${MACDEPLOYQT} ${stage}/ovalith.app COMMAND_ERROR_IS_FATAL ANY)

# ovalith-collect finds Qt in the bundle beside it and nowhere else.
execute_process(COMMAND otool -l ${stage}/ovalith-collect OUTPUT_VARIABLE commands COMMAND_ERROR_IS_FATAL ANY)
string(REGEX MATCHALL "path [^\n]+ \\(offset [0-9]+\\)" rpaths "${commands}")
foreach(entry IN LISTS rpaths)
    string(REGEX REPLACE "^path (.+) \\(offset [0-9]+\\)$" "\\1" rpath "${entry}")
    execute_process(COMMAND install_name_tool -delete_rpath ${rpath} ${stage}/ovalith-collect
                    COMMAND_ERROR_IS_FATAL ANY)
endforeach()
execute_process(COMMAND install_name_tool -add_rpath @executable_path/ovalith.app/Contents/Frameworks
                        ${stage}/ovalith-collect COMMAND_ERROR_IS_FATAL ANY)

# Signed ad hoc: on Apple silicon a binary changed after linking is killed unless it is signed again.
execute_process(COMMAND codesign --force --deep -s - ${stage}/ovalith.app COMMAND_ERROR_IS_FATAL ANY)
execute_process(COMMAND codesign --force -s - ${stage}/ovalith-collect COMMAND_ERROR_IS_FATAL ANY)
execute_process(COMMAND ditto -c -k --sequesterRsrc --keepParent ${stage} ${zip} COMMAND_ERROR_IS_FATAL ANY)
message(STATUS "package: ${zip}")
