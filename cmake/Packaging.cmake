# Installation and the Debian package: cmake --preset package && cmake --build --preset package --target package
include(GNUInstallDirs)

install(TARGETS ovalith-collect ovalith-profiler RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
if(TARGET ovalith-report)
    install(TARGETS ovalith-report RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
endif()
if(OVALITH_GUI)
    install(TARGETS ovalith ovalith-universal RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
    install(FILES ${CMAKE_SOURCE_DIR}/resources/linux/ovalith.desktop
            DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
    install(FILES ${CMAKE_SOURCE_DIR}/resources/icon.png
            DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/128x128/apps RENAME ovalith.png)
    install(FILES ${CMAKE_SOURCE_DIR}/resources/icons/ovalith-48.png
            DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/48x48/apps RENAME ovalith.png)
    install(FILES ${CMAKE_SOURCE_DIR}/resources/icons/ovalith.svg
            DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
endif()
include(${CMAKE_CURRENT_LIST_DIR}/ManualPages.cmake)
# The sample lists that an installed program copies into the user's folder on first use.
install(DIRECTORY ${CMAKE_SOURCE_DIR}/resources/DAT/ DESTINATION ${CMAKE_INSTALL_DATADIR}/ovalith/DAT
        FILES_MATCHING PATTERN "*.TxT")
set(OVALITH_DOC_DIR ${CMAKE_INSTALL_DATADIR}/doc/ovalith)
install(FILES ${CMAKE_SOURCE_DIR}/resources/linux/copyright DESTINATION ${OVALITH_DOC_DIR})
install(FILES ${CMAKE_SOURCE_DIR}/README.md DESTINATION ${OVALITH_DOC_DIR})
# Debian wants the changelog compressed, without a time stamp in the gzip header.
install(CODE "
    set(doc \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${OVALITH_DOC_DIR}\")
    file(MAKE_DIRECTORY \"\${doc}\")
    execute_process(COMMAND gzip -9nc \"${CMAKE_SOURCE_DIR}/resources/linux/changelog\"
                    OUTPUT_FILE \"\${doc}/changelog.gz\" COMMAND_ERROR_IS_FATAL ANY)
")

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME ovalith)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "The Ovalith developers <developers@ovalith.example>")
set(CPACK_PACKAGE_VENDOR "The Ovalith developers")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "asset inventory of a computer in one CSV file")
# One text: lines of at most 80 characters, "." for an empty line.
string(CONCAT CPACK_PACKAGE_DESCRIPTION
    "Ovalith takes the asset inventory of the computer it runs on: processor,\n"
    "memory, serial number, model, operating system, disks, installed\n"
    "applications, network adapters, screen, keyboards and printer. It writes\n"
    "them, with a management number and the user's name from a one-window form,\n"
    "as one CSV file in code page 932 (Shift_JIS as Windows writes it) into a\n"
    "folder of the user's own, and can deliver the file to an SMB share.\n"
    ".\n"
    "The package holds the desktop programs ovalith and ovalith-universal, the\n"
    "headless ovalith-collect for scripts, ovalith-report, which turns a folder\n"
    "of such files into one Excel workbook for the whole campaign, and\n"
    "ovalith-profiler, which reads a Linux system's facts in the shape of\n"
    "macOS's system_profiler.")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# ifconfig gives the machine's MAC address, the key of every record.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "net-tools")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "fonts-ipafont-gothic | fonts-noto-cjk")
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
include(CPack)
