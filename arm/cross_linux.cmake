# Shared by the ARM toolchain files: Debian's cross compiler for ORVESSA_GNU_TRIPLET, the
# target's libraries from Debian's multiarch folders, and its programs (the texture generator,
# the unit tests) run under qemu's user-mode emulator, called by name.
set(CMAKE_SYSTEM_NAME Linux)
set(CMAKE_C_COMPILER ${ORVESSA_GNU_TRIPLET}-gcc)
set(CMAKE_CXX_COMPILER ${ORVESSA_GNU_TRIPLET}-g++)
# find_library and find_package look in /usr/lib/<triplet>, where :arm64 and :armhf packages
# install their libraries beside this machine's own.
set(CMAKE_LIBRARY_ARCHITECTURE ${ORVESSA_GNU_TRIPLET})
set(CMAKE_CROSSCOMPILING_EMULATOR ${ORVESSA_QEMU})
# pkg-config (FindGLUT asks it) reads the target's .pc files, not this machine's.
set(ENV{PKG_CONFIG_LIBDIR} /usr/lib/${ORVESSA_GNU_TRIPLET}/pkgconfig:/usr/share/pkgconfig)
