# The release zip, made by CPack (scripts/package): one folder lcd-clock-tools-<version>/ holding
# both programs (Portwand with its command-line program Portwand.com), Facetor.ini, the user guide
# and the licence. Nothing else has an install rule, so
# no test program or build file can get into the zip.
find_package(Python3 REQUIRED COMPONENTS Interpreter)

set(LCT_RELEASE_FOLDER lcd-clock-tools-${PROJECT_VERSION})

# The guide: docs/guide.html with the version filled in and docs/*.png embedded as data URLs.
set(LCT_GUIDE ${CMAKE_BINARY_DIR}/guide/Руководство.html)
file(GLOB LCT_GUIDE_PICTURES CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/docs/*.png)
add_custom_command(
  OUTPUT ${LCT_GUIDE}
  COMMAND ${Python3_EXECUTABLE} ${PROJECT_SOURCE_DIR}/scripts/build-guide
          --version ${PROJECT_VERSION} ${PROJECT_SOURCE_DIR}/docs/guide.html ${LCT_GUIDE}
  DEPENDS ${PROJECT_SOURCE_DIR}/docs/guide.html ${LCT_GUIDE_PICTURES}
          ${PROJECT_SOURCE_DIR}/scripts/build-guide
  COMMENT "Building the user guide"
  VERBATIM)
add_custom_target(user_guide ALL DEPENDS ${LCT_GUIDE})

install(TARGETS Facetor Portwand PortwandCommand RUNTIME DESTINATION ${LCT_RELEASE_FOLDER})
install(FILES ${PROJECT_SOURCE_DIR}/editor/Facetor.ini ${LCT_GUIDE}
        DESTINATION ${LCT_RELEASE_FOLDER})
# With an extension, so that a double click in Explorer opens it, and with CR LF line ends, so that
# an older Notepad shows its lines rather than one long line.
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/LICENSE)
file(READ ${PROJECT_SOURCE_DIR}/LICENSE LCT_LICENSE_TEXT)
string(REPLACE "\r\n" "\n" LCT_LICENSE_TEXT "${LCT_LICENSE_TEXT}")
string(REPLACE "\n" "\r\n" LCT_LICENSE_TEXT "${LCT_LICENSE_TEXT}")
file(WRITE ${CMAKE_BINARY_DIR}/release/LICENSE.txt "${LCT_LICENSE_TEXT}")
install(FILES ${CMAKE_BINARY_DIR}/release/LICENSE.txt DESTINATION ${LCT_RELEASE_FOLDER})

# scripts/package builds exactly what the zip needs; packing must not build every test first.
set(CMAKE_SKIP_INSTALL_ALL_DEPENDENCY ON)

set(CPACK_GENERATOR ZIP)
set(CPACK_PACKAGE_NAME lcd-clock-tools)
set(CPACK_PACKAGE_VENDOR "${LCT_AUTHORS}")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_FILE_NAME lcd-clock-tools-${PROJECT_VERSION}-win64)
set(CPACK_PACKAGE_DIRECTORY ${CMAKE_BINARY_DIR}/package)
# The install folder above is the zip's one top folder.
set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY OFF)
set(CPACK_STRIP_FILES ON)
include(CPack)
