# 64-bit ARM Linux (Debian's arm64): today's handhelds, single-board computers.
set(CMAKE_SYSTEM_PROCESSOR aarch64)
set(BOLTFEVER_TRIPLET aarch64-linux-gnu)
set(BOLTFEVER_QEMU qemu-aarch64)
set(BOLTFEVER_DEB_ARCHITECTURE arm64)
include(${CMAKE_CURRENT_LIST_DIR}/DebianLinuxCross.cmake)
