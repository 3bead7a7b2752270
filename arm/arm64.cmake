# 64-bit ARM Linux (Raspberry Pi OS 64-bit, Debian and Ubuntu arm64), cross-compiled.
set(CMAKE_SYSTEM_PROCESSOR aarch64)
set(ORVESSA_GNU_TRIPLET aarch64-linux-gnu)
set(ORVESSA_DEBIAN_ARCH arm64)
set(ORVESSA_QEMU qemu-aarch64)
include(${CMAKE_CURRENT_LIST_DIR}/cross_linux.cmake)
