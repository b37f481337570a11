# What a Debian system expects beside the programs: the manual pages (vesko-script's made by help2man from
# its own --help texts, so they cannot drift apart), bash completion, and the package's changelog and
# copyright file. Linux only, and only where the build can run its own vesko-script.
find_program(HELP2MAN_EXE help2man REQUIRED)
find_program(GZIP_EXE gzip REQUIRED)

set(VESKO_DOCS_DIR ${PROJECT_BINARY_DIR}/docs)
set(vesko_h2m ${PROJECT_SOURCE_DIR}/packaging/vesko-script.h2m)
set(vesko_h2m_generators ${PROJECT_SOURCE_DIR}/packaging/help2man-generators)
add_custom_command(
  OUTPUT ${VESKO_DOCS_DIR}/vesko-script.1 ${VESKO_DOCS_DIR}/vesko-script.1.gz
  COMMAND ${CMAKE_COMMAND} -E make_directory ${VESKO_DOCS_DIR}
  COMMAND bash ${vesko_h2m_generators} $<TARGET_FILE:vesko-script> ${VESKO_DOCS_DIR}/generators.h2m
  COMMAND ${HELP2MAN_EXE} --no-info --section=1
          "--name=write Tcl scripts for the alignment scans of an X-ray beamline"
          --include=${vesko_h2m} --include=${VESKO_DOCS_DIR}/generators.h2m
          --output=${VESKO_DOCS_DIR}/vesko-script.1 $<TARGET_FILE:vesko-script>
  COMMAND ${GZIP_EXE} -9nkf ${VESKO_DOCS_DIR}/vesko-script.1
  DEPENDS vesko-script ${vesko_h2m} ${vesko_h2m_generators}
  COMMENT "Manual page vesko-script(1) from vesko-script --help"
  VERBATIM)
set(vesko_docs ${VESKO_DOCS_DIR}/vesko-script.1.gz)

# The other pages and the changelog are written by hand; Debian wants them compressed.
set(vesko_plain_docs ${PROJECT_SOURCE_DIR}/packaging/changelog)
if(VESKO_BUILD_GUI)
  list(APPEND vesko_plain_docs ${PROJECT_SOURCE_DIR}/packaging/VeskoScriptCreator.1)
endif()
foreach(plain IN LISTS vesko_plain_docs)
  get_filename_component(name ${plain} NAME)
  add_custom_command(
    OUTPUT ${VESKO_DOCS_DIR}/${name}.gz
    COMMAND ${CMAKE_COMMAND} -E make_directory ${VESKO_DOCS_DIR}
    COMMAND ${CMAKE_COMMAND} -E copy ${plain} ${VESKO_DOCS_DIR}/${name}
    COMMAND ${GZIP_EXE} -9nf ${VESKO_DOCS_DIR}/${name}
    DEPENDS ${plain}
    VERBATIM)
  list(APPEND vesko_docs ${VESKO_DOCS_DIR}/${name}.gz)
endforeach()
add_custom_target(docs ALL DEPENDS ${vesko_docs})

install(FILES ${VESKO_DOCS_DIR}/vesko-script.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
if(VESKO_BUILD_GUI)
  install(FILES ${VESKO_DOCS_DIR}/VeskoScriptCreator.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
endif()
install(FILES ${PROJECT_SOURCE_DIR}/packaging/vesko-script.bash-completion
        DESTINATION ${CMAKE_INSTALL_DATADIR}/bash-completion/completions RENAME vesko-script)
set(vesko_doc_dir ${CMAKE_INSTALL_DATADIR}/doc/veskoscriptcreator)
install(FILES ${VESKO_DOCS_DIR}/changelog.gz ${PROJECT_SOURCE_DIR}/packaging/copyright DESTINATION ${vesko_doc_dir})
