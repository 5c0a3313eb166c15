# macOS: ovalith.app (the 64-bit build) with its Info.plist and an icon made from the 1024-pixel rendering
# of resources/icons/ovalith.svg, and the zip a
# site copies to a stick or a share: cmake --build <build folder> --target package
if(NOT OVALITH_GUI)
    return()
endif()

set(OVALITH_ICNS ${CMAKE_BINARY_DIR}/ovalith.icns)
add_custom_command(OUTPUT ${OVALITH_ICNS}
    COMMAND ${CMAKE_COMMAND} -DSOURCE=${CMAKE_SOURCE_DIR}/resources/icons/ovalith-1024.png -DOUTPUT=${OVALITH_ICNS}
            -DWORK=${CMAKE_BINARY_DIR}/ovalith.iconset -P ${CMAKE_SOURCE_DIR}/cmake/MakeIcns.cmake
    DEPENDS ${CMAKE_SOURCE_DIR}/resources/icons/ovalith-1024.png ${CMAKE_SOURCE_DIR}/cmake/MakeIcns.cmake
    VERBATIM)
target_sources(ovalith PRIVATE ${OVALITH_ICNS})
set_source_files_properties(${OVALITH_ICNS} PROPERTIES MACOSX_PACKAGE_LOCATION Resources)
set_target_properties(ovalith PROPERTIES
    MACOSX_BUNDLE_INFO_PLIST ${CMAKE_SOURCE_DIR}/resources/macos/Info.plist.in
    MACOSX_BUNDLE_BUNDLE_NAME Ovalith
    MACOSX_BUNDLE_GUI_IDENTIFIER jp.ovalith.ovalith
    MACOSX_BUNDLE_BUNDLE_VERSION ${PROJECT_VERSION}
    MACOSX_BUNDLE_SHORT_VERSION_STRING ${PROJECT_VERSION}
    MACOSX_BUNDLE_ICON_FILE ovalith.icns)

# macdeployqt lies beside qmake in the Qt the build uses.
get_target_property(OVALITH_QMAKE Qt6::qmake IMPORTED_LOCATION)
get_filename_component(OVALITH_QT_BIN ${OVALITH_QMAKE} DIRECTORY)
find_program(MACDEPLOYQT macdeployqt HINTS ${OVALITH_QT_BIN} REQUIRED)
add_custom_target(package
    COMMAND ${CMAKE_COMMAND} -DBIN_DIR=${OVALITH_BIN_DIR} -DOUT_DIR=${CMAKE_BINARY_DIR}
            -DVERSION=${PROJECT_VERSION} -DMACDEPLOYQT=${MACDEPLOYQT} -P ${CMAKE_SOURCE_DIR}/cmake/MacPackage.cmake
    DEPENDS ovalith ovalith-collect $<$<TARGET_EXISTS:ovalith-report>:ovalith-report>
    VERBATIM)
