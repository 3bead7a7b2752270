# The Windows program (cross-built with MinGW-w64 by windows/build.sh): a console program with
# its icon and version, the textures made by its own generator under Wine, and the zip users
# download, orvessa-<version>-windows-x64.zip, which tools/downloads.sh packs from the install
# rules below.

set(ORVESSA_WINDOWS_SOURCE ${PROJECT_SOURCE_DIR}/windows)
set(ORVESSA_WINDOWS_OUT ${PROJECT_BINARY_DIR}/windows)

# The icon is the web page's, a frame of the start view, at the sizes Explorer asks for.
find_program(ORVESSA_CONVERT convert PATHS /usr/bin NO_DEFAULT_PATH)
if(NOT ORVESSA_CONVERT)
  message(FATAL_ERROR "ImageMagick's convert not found: it makes the program's icon")
endif()
set(ORVESSA_WINDOWS_ICON ${ORVESSA_WINDOWS_OUT}/orvessa.ico)
add_custom_command(OUTPUT ${ORVESSA_WINDOWS_ICON}
                   COMMAND ${ORVESSA_CONVERT} ${PROJECT_SOURCE_DIR}/web/icon-512.png
                           -define icon:auto-resize=256,64,48,32,16 ${ORVESSA_WINDOWS_ICON}
                   DEPENDS ${PROJECT_SOURCE_DIR}/web/icon-512.png
                   COMMENT "Making the Windows icon"
                   VERBATIM)
configure_file(${ORVESSA_WINDOWS_SOURCE}/orvessa.manifest ${ORVESSA_WINDOWS_OUT}/orvessa.manifest
               @ONLY)
configure_file(${ORVESSA_WINDOWS_SOURCE}/orvessa.rc.in ${ORVESSA_WINDOWS_OUT}/orvessa.rc @ONLY)
set_source_files_properties(
  ${ORVESSA_WINDOWS_OUT}/orvessa.rc PROPERTIES
  OBJECT_DEPENDS "${ORVESSA_WINDOWS_ICON};${ORVESSA_WINDOWS_OUT}/orvessa.manifest")
target_sources(orvessa PRIVATE ${ORVESSA_WINDOWS_OUT}/orvessa.rc)

# What the zip holds beside the program and its textures: how to use it, our licence, and the
# licences of the code linked into it (freeglut's, and MinGW-w64's runtime and headers; GCC's
# runtime libraries ask for none).
file(READ ${PROJECT_SOURCE_DIR}/packaging/keys.txt ORVESSA_KEYS_TEXT)
configure_file(${ORVESSA_WINDOWS_SOURCE}/README.txt.in ${ORVESSA_WINDOWS_OUT}/README.txt @ONLY)
get_filename_component(freeglut_prefix ${FreeGLUT_DIR}/../../.. ABSOLUTE)
string(CONCAT notices_intro
       "orvessa.exe contains code from freeglut ${FreeGLUT_VERSION} and from the MinGW-w64 runtime "
       "and headers,\nunder the licences below, and GCC's runtime libraries (libstdc++, libgcc), "
       "under the GPL 3\nwith the GCC Runtime Library Exception, which asks for no notice.\n")
include(packaging/notices.cmake)
orvessa_write_notices(${ORVESSA_WINDOWS_OUT}/THIRD-PARTY-NOTICES.txt "${notices_intro}"
  freeglut ${freeglut_prefix}/COPYING
  "MinGW-w64 (Debian's copyright file)" /usr/share/doc/mingw-w64-common/copyright)

install(TARGETS orvessa RUNTIME DESTINATION .)
install(FILES ${texture_paths} ${ORVESSA_WINDOWS_OUT}/README.txt
              ${ORVESSA_WINDOWS_OUT}/THIRD-PARTY-NOTICES.txt DESTINATION .)
# With an extension, so that a double click opens it.
install(FILES ${PROJECT_SOURCE_DIR}/LICENSE DESTINATION . RENAME LICENSE.txt)

set(ORVESSA_DOWNLOAD orvessa-${PROJECT_VERSION}-windows-x64.zip
    CACHE INTERNAL "The Windows zip this build makes, one folder of the same name inside")
