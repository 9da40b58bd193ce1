# Interim: empty image and sample banks for a checkout whose asset compilers have not landed yet.
if(fragment STREQUAL "Images")
  file(WRITE ${PROJECT_BINARY_DIR}/generated/EmptyImageBank.cpp
       "#include \"render/ImageBank.h\"\nconst SImage kImageBank[kImageCount] = {};\n")
  target_sources(boltfever_core PRIVATE ${PROJECT_BINARY_DIR}/generated/EmptyImageBank.cpp)
elseif(fragment STREQUAL "Sounds")
  file(WRITE ${PROJECT_BINARY_DIR}/generated/EmptySampleBank.cpp
       "#include \"sound/SampleBank.h\"\nconst SSample kSampleBank[kSampleCount] = {};\n")
  target_sources(boltfever_core PRIVATE ${PROJECT_BINARY_DIR}/generated/EmptySampleBank.cpp)
endif()
