# Installing the Linux program and packaging it as a .deb (cpack -G DEB).
include(GNUInstallDirs)

install(TARGETS tessaro RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${PROJECT_SOURCE_DIR}/ui/qt/tessaro.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${PROJECT_SOURCE_DIR}/packaging/linux/org.example.Tessaro.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
# Debian's place for the licence, and a fine one for any other install.
install(FILES ${PROJECT_SOURCE_DIR}/LICENSE
        DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/tessaro RENAME copyright)
# The manual page and the changelog go compressed, as Debian has them.
set(TESSARO_GZIPPED)
foreach(doc tessaro.1 changelog)
  set(gzipped ${CMAKE_BINARY_DIR}/packaging/${doc}.gz)
  add_custom_command(OUTPUT ${gzipped}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/packaging
    COMMAND sh -c "gzip -9n -c \"$0\" > \"$1\"" ${PROJECT_SOURCE_DIR}/packaging/linux/${doc} ${gzipped}
    DEPENDS ${PROJECT_SOURCE_DIR}/packaging/linux/${doc}
    VERBATIM)
  list(APPEND TESSARO_GZIPPED ${gzipped})
endforeach()
add_custom_target(tessaro_docs ALL DEPENDS ${TESSARO_GZIPPED})
install(FILES ${CMAKE_BINARY_DIR}/packaging/tessaro.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${CMAKE_BINARY_DIR}/packaging/changelog.gz
        DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/tessaro)
foreach(size 16 32 48 64 128 256)
  install(FILES ${PROJECT_SOURCE_DIR}/assets/app-${size}.png
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps
          RENAME tessaro.png)
endforeach()

set(CPACK_PACKAGE_NAME "tessaro")
set(CPACK_PACKAGE_VENDOR "The Tessaro developers")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Gives a local folder a drive letter of its own")
set(CPACK_PACKAGE_DESCRIPTION "Tessaro maps a local folder to a drive letter from A: to Z: with a
 small subst command of its own, remembers the drive, the folder and the
 recently mapped folders, waits in the notification area on request and
 brings the drive back at logon. Its user interface is German.")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_RESOURCE_FILE_LICENSE ${PROJECT_SOURCE_DIR}/LICENSE)
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGE_CONTACT "The Tessaro developers <tessaro@example.org>")
set(CPACK_PACKAGING_INSTALL_PREFIX "/usr")
set(CPACK_DEBIAN_PACKAGE_SECTION "utils")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The install rules of GoogleTest and friends are not ours to ship.
set(CPACK_INSTALL_CMAKE_PROJECTS "${CMAKE_BINARY_DIR};Tessaro;Unspecified;/")
include(CPack)
