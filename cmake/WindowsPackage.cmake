# The Windows downloads: a setup program (NSIS) and a zip to run without one.
#   cmake --build --preset windows --target package
find_program(TESSARO_MAKENSIS makensis)

set(TESSARO_PACKAGE_BASE "Tessaro-${PROJECT_VERSION}-win64")
set(TESSARO_PACKAGE_FILES "${CMAKE_BINARY_DIR}/package-files")
set(TESSARO_SETUP_FILE "${CMAKE_BINARY_DIR}/${TESSARO_PACKAGE_BASE}-setup.exe")
set(TESSARO_ZIP_FILE "${CMAKE_BINARY_DIR}/${TESSARO_PACKAGE_BASE}.zip")

# Windows line ends for the texts a user opens in an editor.
configure_file(${PROJECT_SOURCE_DIR}/LICENSE ${TESSARO_PACKAGE_FILES}/LICENSE.txt
               @ONLY NEWLINE_STYLE CRLF)
configure_file(${PROJECT_SOURCE_DIR}/packaging/windows/LIESMICH.txt.in
               ${TESSARO_PACKAGE_FILES}/LIESMICH.txt @ONLY NEWLINE_STYLE CRLF)
configure_file(${PROJECT_SOURCE_DIR}/packaging/windows/Tessaro.nsi.in
               ${CMAKE_BINARY_DIR}/Tessaro.nsi @ONLY)

if(NOT TESSARO_MAKENSIS)
  message(STATUS "makensis not found: no 'package' target (apt-get install nsis)")
  return()
endif()

add_custom_target(package
  COMMAND ${CMAKE_COMMAND} -E copy $<TARGET_FILE:tessaro> ${TESSARO_PACKAGE_FILES}/tessaro.exe
  COMMAND ${TESSARO_MAKENSIS} -V2 -NOCD -INPUTCHARSET UTF8 ${CMAKE_BINARY_DIR}/Tessaro.nsi
  COMMAND ${CMAKE_COMMAND} -E rm -f ${TESSARO_ZIP_FILE}
  COMMAND ${CMAKE_COMMAND} -E chdir ${TESSARO_PACKAGE_FILES}
          ${CMAKE_COMMAND} -E tar cf ${TESSARO_ZIP_FILE} --format=zip
          tessaro.exe LIESMICH.txt LICENSE.txt
  DEPENDS tessaro
  BYPRODUCTS ${TESSARO_SETUP_FILE} ${TESSARO_ZIP_FILE}
  COMMENT "Packaging ${TESSARO_PACKAGE_BASE}-setup.exe and ${TESSARO_PACKAGE_BASE}.zip"
  VERBATIM)
