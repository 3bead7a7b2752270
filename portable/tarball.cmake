# The portable download (ORVESSA_PORTABLE): one folder that runs on any Linux desktop, holding
# the program, its textures, a README and the licences, packed by tools/downloads.sh as
# orvessa-<version>-linux-<processor>.tar.gz from the install rules below.

set(ORVESSA_PORTABLE_OUT ${PROJECT_BINARY_DIR}/portable)

# The README: the keys as the Windows one has them, and the manual's picture command.
file(READ ${PROJECT_SOURCE_DIR}/packaging/keys.txt ORVESSA_KEYS_TEXT)
file(STRINGS ${PROJECT_SOURCE_DIR}/README.md ORVESSA_PICTURE_COMMAND REGEX "^convert ")
configure_file(${PROJECT_SOURCE_DIR}/portable/README.txt.in ${ORVESSA_PORTABLE_OUT}/README.txt
               @ONLY)

# freeglut and GLU are linked in: their licences, as Debian ships them with the archives.
string(CONCAT notices_intro
       "orvessa contains code from freeglut and from GLU (Mesa's), under the licences below "
       "(Debian's copyright\nfiles for them). It links the C and C++ runtimes and libgcc "
       "dynamically.\n")
include(packaging/notices.cmake)
orvessa_write_notices(${ORVESSA_PORTABLE_OUT}/THIRD-PARTY-NOTICES.txt "${notices_intro}"
  freeglut /usr/share/doc/libglut-dev/copyright
  GLU /usr/share/doc/libglu1-mesa-dev/copyright)

install(TARGETS orvessa RUNTIME DESTINATION .)
install(FILES ${texture_paths} ${ORVESSA_PORTABLE_OUT}/README.txt
              ${ORVESSA_PORTABLE_OUT}/THIRD-PARTY-NOTICES.txt ${PROJECT_SOURCE_DIR}/LICENSE
        DESTINATION .)

set(ORVESSA_DOWNLOAD orvessa-${PROJECT_VERSION}-linux-${CMAKE_SYSTEM_PROCESSOR}.tar.gz
    CACHE INTERNAL "The portable tarball this build makes, one folder of the same name inside")
