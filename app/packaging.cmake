# What `cmake --install` and the Debian package (`./run package`) hold:
#   lib/rv4820/                  the program directory: both programs, ModSet.set and
#                                the default comm.set, as a build tree has them
#   bin/rv4820-tool, -sim        relative links into it, so the programs find their
#                                directory through the link
#   share/applications, icons    the menu entry and the icon the window draws
#   share/doc/rv4820-tool        the licence (DEP-5 copyright) and the changelog
# The build tree itself stays the program directory of ./run; nothing here changes it.

set(RV_INSTALL_DIR lib/rv4820)
install(TARGETS rv4820-tool rv4820-sim RUNTIME DESTINATION ${RV_INSTALL_DIR})
# The shipped defaults, never the build tree's comm.set, which the developer may have saved.
install(FILES ${CMAKE_SOURCE_DIR}/app/defaults/ModSet.set ${CMAKE_SOURCE_DIR}/app/defaults/comm.set
        DESTINATION ${RV_INSTALL_DIR})
file(MAKE_DIRECTORY ${CMAKE_BINARY_DIR}/bin-links)
foreach(program rv4820-tool rv4820-sim)
  file(CREATE_LINK ../${RV_INSTALL_DIR}/${program} ${CMAKE_BINARY_DIR}/bin-links/${program} SYMBOLIC)
  install(FILES ${CMAKE_BINARY_DIR}/bin-links/${program} DESTINATION bin)
endforeach()
install(FILES ${CMAKE_SOURCE_DIR}/app/rv4820-tool.desktop DESTINATION share/applications)
install(DIRECTORY ${RV_ICON_DIR}/ DESTINATION share/icons/hicolor)
# Debian wants both in every package; a version without a revision is a native
# package, whose changelog is changelog.gz. -n keeps the build reproducible.
set(RV_DOC_DIR share/doc/rv4820-tool)
add_custom_command(OUTPUT ${CMAKE_BINARY_DIR}/changelog.gz
  COMMAND gzip -9nc ${CMAKE_SOURCE_DIR}/app/debian/changelog > ${CMAKE_BINARY_DIR}/changelog.gz
  DEPENDS ${CMAKE_SOURCE_DIR}/app/debian/changelog)
add_custom_target(rv4820-changelog ALL DEPENDS ${CMAKE_BINARY_DIR}/changelog.gz)
install(FILES ${CMAKE_SOURCE_DIR}/app/debian/copyright ${CMAKE_BINARY_DIR}/changelog.gz
        DESTINATION ${RV_DOC_DIR})

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME rv4820-tool)
set(CPACK_PACKAGE_VENDOR Kelvora)
set(CPACK_RESOURCE_FILE_LICENSE ${CMAKE_SOURCE_DIR}/LICENSE)
# CPACK_PACKAGE_VERSION is the project's VERSION: the one place to change it.
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
    "configuration and monitoring tool for the RV4820 current module")
string(CONCAT CPACK_PACKAGE_DESCRIPTION
    "A desktop tool for the RV4820 current acquisition and transmitter module, a\n"
    "Modbus RTU device with four current inputs and four current outputs. It reads\n"
    "the live values once or cyclically, reads and writes the module's baud rate,\n"
    "station address and calibration coefficients, and shows every request and reply\n"
    "as hexadecimal text. rv4820-sim, a simulated module, is included.")
set(CPACK_DEBIAN_PACKAGE_MAINTAINER
    "RV4820 tool maintainers <maintainers@users.noreply.c-seed-dedc7ad0.example>")
set(CPACK_DEBIAN_PACKAGE_SECTION electronics)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_STRIP_FILES ON)
include(CPack)
