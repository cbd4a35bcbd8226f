# What `cmake --install` puts under the prefix, and the Debian package CPack
# builds from it (scripts/package.sh). The programs carry their help inside;
# the example site goes with the documentation.
include(GNUInstallDirs)
# Debian names the documentation folder after the package, not the project.
set(CMAKE_INSTALL_DOCDIR ${CMAKE_INSTALL_DATAROOTDIR}/doc/webquill)

install(TARGETS webquill webquill-publish RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(DIRECTORY examples/ DESTINATION ${CMAKE_INSTALL_DOCDIR}/examples)
install(FILES README.md packaging/copyright DESTINATION ${CMAKE_INSTALL_DOCDIR})
install(FILES packaging/webquill.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES packaging/io.github.tessaly.Webquill.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES packaging/webquill-mime.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages RENAME webquill.xml)
install(FILES packaging/icons/webquill.svg DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
foreach(size 16 32 48 64 128 256)
  install(FILES packaging/icons/webquill-${size}.png
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps RENAME webquill.png)
endforeach()
# Manual pages and the changelog go compressed, as Debian wants them.
find_program(GZIP_PROGRAM gzip REQUIRED)
foreach(page man/webquill.1 man/webquill-publish.1 changelog)
  get_filename_component(name ${page} NAME)
  add_custom_command(OUTPUT ${PROJECT_BINARY_DIR}/packaging/${name}.gz
    COMMAND ${CMAKE_COMMAND} -E make_directory ${PROJECT_BINARY_DIR}/packaging
    COMMAND ${GZIP_PROGRAM} -9 -n -c ${PROJECT_SOURCE_DIR}/packaging/${page} > ${PROJECT_BINARY_DIR}/packaging/${name}.gz
    DEPENDS ${PROJECT_SOURCE_DIR}/packaging/${page} VERBATIM)
  list(APPEND compressed ${PROJECT_BINARY_DIR}/packaging/${name}.gz)
endforeach()
add_custom_target(manual_pages ALL DEPENDS ${compressed})
install(FILES ${PROJECT_BINARY_DIR}/packaging/webquill.1.gz ${PROJECT_BINARY_DIR}/packaging/webquill-publish.1.gz
        DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${PROJECT_BINARY_DIR}/packaging/changelog.gz DESTINATION ${CMAKE_INSTALL_DOCDIR})

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME webquill)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION_MAJOR}.${PROJECT_VERSION_MINOR}.${PROJECT_VERSION_PATCH})
set(CPACK_PACKAGE_VENDOR Tessaly)
set(CPACK_PACKAGE_CONTACT "Webquill developers <webquill@tessaly.example>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "turn one long document into a small linked web site")
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
  "Webquill cuts one long HTML or plain-text document into a numbered series\n of web pages framed by header and footer templates and linked through a\n table of contents, as a rule file's pattern commands say. A log window\n reports every step, a rule editor writes the rule files, and an upload\n sends the pages to a web server by FTP or FTPS. webquill-publish runs the\n same publishing from scripts.")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION text)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# The dependencies come from the binaries' own links.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
include(CPack)
