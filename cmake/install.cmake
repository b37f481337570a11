# `cmake --install`: the two programs and, on Linux, the desktop entry with its icon, the manual pages,
# bash completion and the package's changelog and copyright file.
# `cpack -G DEB` in a build folder then makes a Debian package that also pulls in the Japanese font.
include(GNUInstallDirs)

install(TARGETS vesko-script RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
if(VESKO_BUILD_GUI)
  install(TARGETS VeskoScriptCreator RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
  if(CMAKE_SYSTEM_NAME STREQUAL "Linux")
    install(FILES ${PROJECT_SOURCE_DIR}/packaging/VeskoScriptCreator.desktop
            DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
    install(FILES ${PROJECT_SOURCE_DIR}/packaging/VeskoScriptCreator.svg
            DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
  endif()
endif()

option(VESKO_BUILD_DOCS "Linux: manual pages (help2man), bash completion, changelog" ON)
if(VESKO_BUILD_DOCS AND CMAKE_SYSTEM_NAME STREQUAL "Linux" AND NOT CMAKE_CROSSCOMPILING)
  include(${CMAKE_CURRENT_LIST_DIR}/debian_docs.cmake)
endif()

if(CMAKE_SYSTEM_NAME STREQUAL "Linux")
  set(CPACK_GENERATOR DEB)
  set(CPACK_PACKAGE_NAME veskoscriptcreator)
  set(CPACK_PACKAGE_VENDOR "VeskoScriptCreator")
  set(CPACK_PACKAGE_CONTACT "VeskoScriptCreator maintainers <maintainers@veskoscriptcreator.invalid>")
  set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Tcl scripts for the alignment scans of an X-ray beamline")
  # The package's long description; CPack puts the summary above it as the synopsis.
  set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
      "For each kind of alignment scan of the beamline (4D slit, collimator, lens,
goniometer) VeskoScriptCreator offers a window in which the operator enters
the scan parameters; it checks them and writes a Tcl script for the
beamline's control server. The command line vesko-script writes the same
scripts and analyses the result file of a decreasing-width slit scan.")
  set(CPACK_STRIP_FILES ON)  # Debian ships programs without their debugging information
  set(CPACK_PACKAGE_INSTALL_DIRECTORY VeskoScriptCreator)
  set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
  set(CPACK_DEBIAN_PACKAGE_SECTION science)
  # Qt and the C++ runtime come from dpkg-shlibdeps (package dpkg-dev, needed when packing); the font
  # that the Japanese captions need is no library, so it is named here.
  set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
  if(VESKO_BUILD_GUI)
    set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-noto-cjk")
  endif()
  include(CPack)
endif()
