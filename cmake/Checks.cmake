# Golden replays: long runs of the automatic player, or of an input script as a player would play
# (scripts/record-golden.sh), played back by the game itself, which checks every 60th picture and
# the sound against the recording and ends with status 3 at the first difference. Each runs in a folder of its own that is also its home and
# data folder, so that nothing of the player's is read or written; the game finds maps.dat
# beside itself.
if(TARGET boltfever)
  enable_testing()
  file(GLOB GOLDEN_REPLAYS CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/tests/golden/*.bfr)
  foreach(replay ${GOLDEN_REPLAYS})
    get_filename_component(name ${replay} NAME_WE)
    set(home ${PROJECT_BINARY_DIR}/golden-home/${name})
    file(MAKE_DIRECTORY ${home})
    add_test(NAME Golden.${name} COMMAND boltfever --headless --replay ${replay})
    set_tests_properties(Golden.${name} PROPERTIES
      WORKING_DIRECTORY ${home}
      ENVIRONMENT "HOME=${home};XDG_DATA_HOME=${home}/.local/share"
      TIMEOUT 600)
    # A replay that watches high scores finds their replays where the recording found them: the
    # data folder it started with, tests/golden/NAME/, is put in place before each playback.
    # Windows keeps that folder in %APPDATA%, which wine sets itself: there it goes to the
    # working directory, whose boltfever.cfg puts the settings, and the high scores beside them.
    set(data ${PROJECT_SOURCE_DIR}/tests/golden/${name})
    set(data_folder ${home}/.local/share/boltfever)
    if(WIN32)
      set(data_folder ${home})
    endif()
    if(IS_DIRECTORY ${data})
      add_test(NAME Golden.${name}.home COMMAND ${CMAKE_COMMAND} -E copy_directory ${data}
                                                 ${data_folder})
      set_tests_properties(Golden.${name}.home PROPERTIES FIXTURES_SETUP golden-${name})
      set_tests_properties(Golden.${name} PROPERTIES FIXTURES_REQUIRED golden-${name})
    endif()
  endforeach()
endif()

# The layers of src/ (Layers.cmake): every #include points down, and a file of src/ sits in a
# layer. The build refuses an include that points up; this names it, also in the backends'
# sources a build leaves out.
find_package(Python3 REQUIRED COMPONENTS Interpreter)
# By its path: another machine's build would run an imported program under its emulator.
add_test(NAME Layers COMMAND ${Python3_EXECUTABLE} ${PROJECT_SOURCE_DIR}/scripts/check-layers.py
                             ${PROJECT_SOURCE_DIR}/src ${BOLTFEVER_LAYER_ROOTS})
