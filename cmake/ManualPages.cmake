# A manual page for each program, made from its own --help and --version by help2man, with the sections
# --help has no room for written by hand in resources/linux/man/<program>.h2m.
find_program(HELP2MAN help2man)
find_program(PERL perl)
if(NOT HELP2MAN OR NOT PERL)
    message(WARNING "help2man and perl make the manual pages; without them the package has none")
    return()
endif()

set(OVALITH_MAN_PROGRAMS ovalith-collect ovalith-profiler)
if(TARGET ovalith-report)
    list(APPEND OVALITH_MAN_PROGRAMS ovalith-report)
endif()
if(OVALITH_GUI)
    list(APPEND OVALITH_MAN_PROGRAMS ovalith ovalith-universal)
endif()
set(OVALITH_MAN_PAGES)
foreach(program IN LISTS OVALITH_MAN_PROGRAMS)
    set(page ${CMAKE_BINARY_DIR}/man/${program}.1.gz)
    add_custom_command(OUTPUT ${page}
        COMMAND ${CMAKE_COMMAND} -DHELP2MAN=${HELP2MAN} -DPERL=${PERL} -DPROGRAM=$<TARGET_FILE:${program}>
                -DINCLUDE=${CMAKE_SOURCE_DIR}/resources/linux/man/${program}.h2m -DOUTPUT=${page}
                -P ${CMAKE_SOURCE_DIR}/cmake/MakeManualPage.cmake
        DEPENDS ${program} ${CMAKE_SOURCE_DIR}/resources/linux/man/${program}.h2m
                ${CMAKE_SOURCE_DIR}/cmake/MakeManualPage.cmake
        VERBATIM)
    list(APPEND OVALITH_MAN_PAGES ${page})
endforeach()
add_custom_target(manual-pages ALL DEPENDS ${OVALITH_MAN_PAGES})
install(FILES ${OVALITH_MAN_PAGES} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
