# 32-bit ARM Linux with hardware floating point (Debian's armhf): the handhelds whose firmware
# runs 32-bit programs.
set(CMAKE_SYSTEM_PROCESSOR armv7l)
set(BOLTFEVER_TRIPLET arm-linux-gnueabihf)
set(BOLTFEVER_QEMU qemu-arm)
set(BOLTFEVER_DEB_ARCHITECTURE armhf)
include(${CMAKE_CURRENT_LIST_DIR}/DebianLinuxCross.cmake)
