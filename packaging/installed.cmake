# The Linux install: the program off the PATH, a launcher that picks the textures' folder, the
# textures, and (package.cmake) the Debian package's files and CPack's settings.
include(GNUInstallDirs)

# Users type "orvessa": a launcher that picks the textures' folder, then runs the program, which
# stays off the PATH in its own folder.
set(ORVESSA_PROGRAM_DIR ${CMAKE_INSTALL_LIBEXECDIR}/orvessa)
install(TARGETS orvessa RUNTIME DESTINATION ${ORVESSA_PROGRAM_DIR})
install(FILES ${texture_paths} DESTINATION ${CMAKE_INSTALL_DATADIR}/orvessa)
file(RELATIVE_PATH ORVESSA_BIN_TO_DATA ${CMAKE_INSTALL_FULL_BINDIR}
     ${CMAKE_INSTALL_FULL_DATADIR}/orvessa)
file(RELATIVE_PATH ORVESSA_BIN_TO_PROGRAM ${CMAKE_INSTALL_FULL_BINDIR}
     ${CMAKE_INSTALL_PREFIX}/${ORVESSA_PROGRAM_DIR}/orvessa)
configure_file(tools/orvessa-launcher.in ${PROJECT_BINARY_DIR}/orvessa-launcher @ONLY)
install(PROGRAMS ${PROJECT_BINARY_DIR}/orvessa-launcher DESTINATION ${CMAKE_INSTALL_BINDIR}
        RENAME orvessa)

# The Debian package: manual page, desktop entry, icon, copyright, and CPack's settings.
include(packaging/package.cmake)
