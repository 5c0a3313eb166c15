# The application icon, every size of an iconset scaled from one PNG: cmake -DSOURCE= -DOUTPUT= -DWORK= -P
file(REMOVE_RECURSE ${WORK})
file(MAKE_DIRECTORY ${WORK})
foreach(size 16 32 128 256 512)
    math(EXPR double "${size} * 2")
    execute_process(COMMAND sips -z ${size} ${size} ${SOURCE} --out ${WORK}/icon_${size}x${size}.png
                    OUTPUT_QUIET COMMAND_ERROR_IS_FATAL ANY)
    execute_process(COMMAND sips -z ${double} ${double} ${SOURCE} --out ${WORK}/icon_${size}x${size}@2x.png
                    OUTPUT_QUIET COMMAND_ERROR_IS_FATAL ANY)
endforeach()
execute_process(COMMAND iconutil -c icns ${WORK} -o ${OUTPUT} COMMAND_ERROR_IS_FATAL ANY)
