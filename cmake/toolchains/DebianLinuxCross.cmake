# What the two ARM Linux toolchains share: Debian's cross compiler for BOLTFEVER_TRIPLET, and the
# target's libraries (SDL2, libpng, GoogleTest) from Debian's multiarch packages of that
# architecture, installed beside the machine's own in /usr/lib/TRIPLET. Programs the build runs
# for the target (the man page's --help, the tests) run under qemu-user, by name, with the cross
# toolchain's folder as the target's root: no binfmt registration is needed.
set(CMAKE_SYSTEM_NAME Linux)
set(CMAKE_C_COMPILER ${BOLTFEVER_TRIPLET}-gcc)
set(CMAKE_CXX_COMPILER ${BOLTFEVER_TRIPLET}-g++)
set(CMAKE_LIBRARY_ARCHITECTURE ${BOLTFEVER_TRIPLET})
set(PKG_CONFIG_EXECUTABLE ${BOLTFEVER_TRIPLET}-pkg-config CACHE FILEPATH "")
# /usr holds both machines' libraries: only the target's folders under it are searched, never
# the build machine's /usr/lib/x86_64-linux-gnu.
set(CMAKE_IGNORE_PATH /usr/lib/x86_64-linux-gnu /lib/x86_64-linux-gnu)
set(CMAKE_CROSSCOMPILING_EMULATOR ${BOLTFEVER_QEMU};-L;/usr/${BOLTFEVER_TRIPLET})
