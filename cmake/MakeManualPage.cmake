# One manual page: cmake -DHELP2MAN= -DPERL= -DPROGRAM= -DINCLUDE= -DOUTPUT= -P
# The help is Japanese: help2man reads it as UTF-8, and groff, which finds no place to break a line of
# Japanese, is given one (\:) after each Japanese character outside the requests and the NAME line, and
# left-aligned text, which needs no stretching of the spaces.
get_filename_component(page ${OUTPUT} NAME_WLE)
set(roff ${OUTPUT}.roff)
execute_process(COMMAND ${CMAKE_COMMAND} -E env LC_ALL=C.UTF-8 DISPLAY= WAYLAND_DISPLAY=
                        ${HELP2MAN} --no-info --locale=C.UTF-8 --include=${INCLUDE} --output=${roff} ${PROGRAM}
                COMMAND_ERROR_IS_FATAL ANY)
execute_process(COMMAND ${PERL} -CSD -i -pe
                        "s/(\\p{Han}|\\p{Hiragana}|\\p{Katakana}|[\\x{3000}-\\x{303F}\\x{FF00}-\\x{FFEF}])/$1\\\\:/g unless /^[.']/ or /^\\S+ \\\\- /; $_ .= \".ds AD l\\n.ad l\\n\" if /^\\.TH /"
                        ${roff}
                COMMAND_ERROR_IS_FATAL ANY)
execute_process(COMMAND gzip -9nc ${roff} OUTPUT_FILE ${OUTPUT} COMMAND_ERROR_IS_FATAL ANY)
