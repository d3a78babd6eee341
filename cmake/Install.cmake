# Install rules: the programs, the HTML manual, the desktop entries, the icon and the .amf file type.
# The folders are fixed (bin, share/...) because the editor finds its manual relative to its own
# folder, as <bin>/../share/assistant-editor/manual.

set(AMF_INSTALL_BINDIR bin)
set(AMF_INSTALL_MANUALDIR share/assistant-editor/manual)
set(AMF_INSTALL_APPSDIR share/applications)
set(AMF_INSTALL_ICONDIR share/icons/hicolor/scalable)
set(AMF_INSTALL_MIMEDIR share/mime/packages)
set(AMF_DESKTOP_SOURCE ${CMAKE_CURRENT_SOURCE_DIR}/app/desktop)
set(AMF_MANUAL_SOURCE ${CMAKE_CURRENT_SOURCE_DIR}/docs/manual)

# Every installed file, relative to the prefix: the install test checks that each one arrives.
set(AMF_INSTALLED_FILES)

foreach(program assistant-editor assistant-viewer amftool)
  if(TARGET ${program})
    install(TARGETS ${program} RUNTIME DESTINATION ${AMF_INSTALL_BINDIR})
    list(APPEND AMF_INSTALLED_FILES ${AMF_INSTALL_BINDIR}/${program})
  endif()
endforeach()

file(GLOB AMF_MANUAL_FILES CONFIGURE_DEPENDS
     ${AMF_MANUAL_SOURCE}/*.html ${AMF_MANUAL_SOURCE}/*.css ${AMF_MANUAL_SOURCE}/*.txt)
install(FILES ${AMF_MANUAL_FILES} DESTINATION ${AMF_INSTALL_MANUALDIR})
foreach(file IN LISTS AMF_MANUAL_FILES)
  get_filename_component(name ${file} NAME)
  list(APPEND AMF_INSTALLED_FILES ${AMF_INSTALL_MANUALDIR}/${name})
endforeach()

# Desktop entries only for the programs that are built, so no entry starts a missing program.
foreach(program assistant-editor assistant-viewer)
  if(TARGET ${program})
    install(FILES ${AMF_DESKTOP_SOURCE}/${program}.desktop DESTINATION ${AMF_INSTALL_APPSDIR})
    list(APPEND AMF_INSTALLED_FILES ${AMF_INSTALL_APPSDIR}/${program}.desktop)
  endif()
endforeach()

# One picture serves as the application icon and as the icon of .amf files in file managers.
install(FILES ${AMF_DESKTOP_SOURCE}/assistant-editor.svg DESTINATION ${AMF_INSTALL_ICONDIR}/apps)
install(FILES ${AMF_DESKTOP_SOURCE}/assistant-editor.svg DESTINATION ${AMF_INSTALL_ICONDIR}/mimetypes
        RENAME application-x-assistant-definition.svg)
install(FILES ${AMF_DESKTOP_SOURCE}/assistant-definition.xml DESTINATION ${AMF_INSTALL_MIMEDIR}
        RENAME assistant-editor.xml)
list(APPEND AMF_INSTALLED_FILES
     ${AMF_INSTALL_ICONDIR}/apps/assistant-editor.svg
     ${AMF_INSTALL_ICONDIR}/mimetypes/application-x-assistant-definition.svg
     ${AMF_INSTALL_MIMEDIR}/assistant-editor.xml)

if(AMF_TESTS)
  # Installs this build tree into a fresh folder inside it and checks the result. The expected files
  # go through a file, one a line, because a list argument of a test command would be split.
  list(JOIN AMF_INSTALLED_FILES "\n" expectedText)
  file(WRITE ${CMAKE_BINARY_DIR}/install-expected.txt "${expectedText}\n")
  add_test(NAME install_tree
           COMMAND ${CMAKE_COMMAND}
                   -DBUILD_DIR=${CMAKE_BINARY_DIR}
                   -DPREFIX=${CMAKE_BINARY_DIR}/install-test-prefix
                   -DEXPECTED_FILE=${CMAKE_BINARY_DIR}/install-expected.txt
                   -P ${CMAKE_CURRENT_SOURCE_DIR}/tests/install/checkinstall.cmake)
endif()
