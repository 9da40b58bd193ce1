# The hardening Debian gives its own packages, for every optimised build: fortified libc calls
# (they need the optimiser), a stack protector, and the table of library addresses bound at
# start-up and then made read-only (relro, bindnow). Not under the sanitizers or the fuzzers,
# which check the same faults their own way and do not mix with the fortified calls. Flags a
# packager already passes for _FORTIFY_SOURCE are kept as they are.
option(BOLTFEVER_HARDEN "Fortified libc calls, stack protector, relro and bindnow" ON)
if(BOLTFEVER_HARDEN AND NOT BOLTFEVER_SANITIZE AND NOT BOLTFEVER_FUZZ)
  if(NOT "${CMAKE_CXX_FLAGS} ${CMAKE_C_FLAGS}" MATCHES "_FORTIFY_SOURCE")
    add_compile_definitions($<$<CONFIG:Release,RelWithDebInfo,MinSizeRel>:_FORTIFY_SOURCE=2>)
  endif()
  add_compile_options(-fstack-protector-strong)
  # Windows programs have no relro; mingw-w64's linker marks them for address randomisation
  # and no-execute data by itself, and its stack protector is a library of its own.
  if(WIN32)
    add_link_options(-fstack-protector-strong)
  else()
    add_link_options(LINKER:-z,relro LINKER:-z,now)
  endif()
endif()
