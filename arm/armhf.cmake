# 32-bit ARM Linux with hardware floating point (Raspberry Pi OS 32-bit on a Pi 2 or later),
# cross-compiled.
set(CMAKE_SYSTEM_PROCESSOR armv7l)
set(ORVESSA_GNU_TRIPLET arm-linux-gnueabihf)
set(ORVESSA_DEBIAN_ARCH armhf)
set(ORVESSA_QEMU qemu-arm)
include(${CMAKE_CURRENT_LIST_DIR}/cross_linux.cmake)
