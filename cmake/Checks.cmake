# Golden replays: long runs of the automatic player (scripts/record-golden.sh), played back by the
# game itself, which checks every 60th picture and the sound against the recording and ends with
# status 3 at the first difference. Each runs in the build folder, where maps.dat is, with a home
# of its own so that nothing of the player's is read.
if(TARGET boltfever)
  file(GLOB GOLDEN_REPLAYS CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/tests/golden/*.bfr)
  foreach(replay ${GOLDEN_REPLAYS})
    get_filename_component(name ${replay} NAME_WE)
    add_test(NAME Golden.${name} COMMAND boltfever --headless --replay ${replay})
    set_tests_properties(Golden.${name} PROPERTIES
      WORKING_DIRECTORY ${PROJECT_BINARY_DIR}
      ENVIRONMENT "HOME=${PROJECT_BINARY_DIR}/golden-home;XDG_DATA_HOME="
      TIMEOUT 600)
  endforeach()
endif()
