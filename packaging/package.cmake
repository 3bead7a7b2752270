# The Debian package: manual page, desktop entry, icon and copyright file beside the program's
# own install rules, and CPack's DEB settings.
# `cmake --build build --target package` writes build/orvessa_<version>_<arch>.deb.

set(ORVESSA_PACKAGING_SOURCE ${PROJECT_SOURCE_DIR}/packaging)
set(ORVESSA_PACKAGING_OUT ${PROJECT_BINARY_DIR}/packaging)
set(CPACK_PACKAGE_CONTACT "Orvessa developers <orvessa@example.org>")

find_program(ORVESSA_GZIP gzip)
if(NOT ORVESSA_GZIP)
  message(FATAL_ERROR "gzip not found: it compresses the manual page and the changelog")
endif()
# Debian's own Python, as the test harness uses; the icon is rendered with its driver.
find_program(ORVESSA_PYTHON python3 PATHS /usr/bin NO_DEFAULT_PATH)
find_program(ORVESSA_PYTHON python3)

# The changelog's versions are written out, one per release: its latest must be this one.
file(STRINGS ${ORVESSA_PACKAGING_SOURCE}/changelog.in orvessa_latest_change LIMIT_COUNT 1)
if(NOT orvessa_latest_change MATCHES "^orvessa \\(${PROJECT_VERSION}\\) ")
  message(FATAL_ERROR "packaging/changelog.in: the latest entry should be for version "
                      "${PROJECT_VERSION} (project() in CMakeLists.txt): ${orvessa_latest_change}")
endif()

# Compressed as Debian wants them: gzip -9, with no file name or time stamp inside.
set(orvessa_packaging_files)
foreach(name orvessa.6 changelog)
  configure_file(${ORVESSA_PACKAGING_SOURCE}/${name}.in ${ORVESSA_PACKAGING_OUT}/${name} @ONLY)
  add_custom_command(OUTPUT ${ORVESSA_PACKAGING_OUT}/${name}.gz
                     COMMAND ${ORVESSA_GZIP} -9nkf ${ORVESSA_PACKAGING_OUT}/${name}
                     DEPENDS ${ORVESSA_PACKAGING_OUT}/${name}
                     VERBATIM)
  list(APPEND orvessa_packaging_files ${ORVESSA_PACKAGING_OUT}/${name}.gz)
endforeach()

# The icon is a frame of the program's own start view, rendered on a private Xvfb. Sanitizer
# builds skip it: their program reports the GL driver's leaks when it ends.
if(ORVESSA_SANITIZE OR ORVESSA_FUZZ)
  set(orvessa_icon_default OFF)
else()
  set(orvessa_icon_default ON)
endif()
option(ORVESSA_ICON "Render the desktop icon with the program at build time (needs Xvfb)"
       ${orvessa_icon_default})
set(ORVESSA_ICON_FILE "" CACHE FILEPATH "The native build's icon, which a cross build packages")
if(ORVESSA_ICON)
  set(orvessa_icon ${ORVESSA_PACKAGING_OUT}/orvessa.png)
  if(CMAKE_CROSSCOMPILING)
    # The program cannot run here, but draws what the native one draws: the same picture.
    if(NOT ORVESSA_ICON_FILE)
      message(FATAL_ERROR "A cross build packages its native build's icon: pass "
                          "-DORVESSA_ICON_FILE=<native build>/packaging/orvessa.png, "
                          "or -DORVESSA_ICON=OFF")
    endif()
    add_custom_command(OUTPUT ${orvessa_icon}
                       COMMAND ${CMAKE_COMMAND} -E copy ${ORVESSA_ICON_FILE} ${orvessa_icon}
                       DEPENDS ${ORVESSA_ICON_FILE}
                       VERBATIM)
  else()
    add_custom_command(OUTPUT ${orvessa_icon}
                       COMMAND ${ORVESSA_PYTHON} ${ORVESSA_PACKAGING_SOURCE}/render_icon.py
                               $<TARGET_FILE:orvessa> ${PROJECT_BINARY_DIR} ${orvessa_icon}
                       DEPENDS orvessa ${texture_paths} ${ORVESSA_PACKAGING_SOURCE}/render_icon.py
                               ${PROJECT_SOURCE_DIR}/tests/e2e/driver.py
                       COMMENT "Rendering the desktop icon from the program's start view"
                       VERBATIM)
  endif()
  list(APPEND orvessa_packaging_files ${orvessa_icon})
  install(FILES ${orvessa_icon} DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/256x256/apps)
endif()
add_custom_target(packaging_files ALL DEPENDS ${orvessa_packaging_files})

install(FILES ${ORVESSA_PACKAGING_OUT}/orvessa.6.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man6)
install(FILES ${ORVESSA_PACKAGING_SOURCE}/orvessa.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${ORVESSA_PACKAGING_SOURCE}/copyright ${ORVESSA_PACKAGING_OUT}/changelog.gz
        DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/orvessa)

# Debian's hardening for the program it ships: relocations read-only and bound at start-up.
# (_FORTIFY_SOURCE changes nothing here: every memcpy, memset and fread has a size known only
# at run time, so no call has a checked form.)
if(NOT ORVESSA_SANITIZE AND NOT ORVESSA_FUZZ)
  target_link_options(orvessa PRIVATE -Wl,-z,relro -Wl,-z,now)
endif()

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME orvessa)
set(CPACK_PACKAGE_VENDOR "The Orvessa developers")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "first-person walk-through of a built-in architectural scene")
string(CONCAT CPACK_PACKAGE_DESCRIPTION
       "Orvessa shows one scene full screen: a square lawn, a long pool inside a\n"
       "low paved border, a main hall with a great arched door, and four tall\n"
       "minarets standing free beyond its corners. The keyboard walks, turns,\n"
       "looks up and down, rolls, flies and turns round; the buildings and the\n"
       "edge of the world stop the viewer.\n"
       "\n"
       "The six surface pictures are BMP files: started from a folder that holds\n"
       "six of your own, it shows those instead.")
# Debian's own names and places: orvessa_<version>_<arch>.deb, everything under /usr.
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
# A cross build's package is for its target (arm/*.cmake name it), not for this machine.
if(ORVESSA_DEBIAN_ARCH)
  set(CPACK_DEBIAN_PACKAGE_ARCHITECTURE ${ORVESSA_DEBIAN_ARCH})
else()
  execute_process(COMMAND dpkg --print-architecture OUTPUT_VARIABLE CPACK_DEBIAN_PACKAGE_ARCHITECTURE
                  OUTPUT_STRIP_TRAILING_WHITESPACE)
endif()
# The download this build makes (tools/downloads.sh packs it).
set(ORVESSA_DOWNLOAD orvessa_${PROJECT_VERSION}_${CPACK_DEBIAN_PACKAGE_ARCHITECTURE}.deb
    CACHE INTERNAL "The Debian package this build makes")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_PACKAGE_SECTION graphics)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# Depends comes from the libraries the program links: freeglut, GLU, GL, the C++ runtime.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_STRIP_FILES ON)
# Folders 0755 whatever the umask of the one who builds (with 002, lintian warns of 0775).
set(CMAKE_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
include(CPack)
