# Irrlicht 1.8 ships neither a CMake config nor a pkg-config file.
find_path(IRRLICHT_INCLUDE_DIR irrlicht.h PATH_SUFFIXES irrlicht REQUIRED)
find_library(IRRLICHT_LIBRARY NAMES Irrlicht REQUIRED)
if(NOT TARGET Irrlicht::Irrlicht)
  add_library(Irrlicht::Irrlicht UNKNOWN IMPORTED)
  set_target_properties(Irrlicht::Irrlicht PROPERTIES
    IMPORTED_LOCATION ${IRRLICHT_LIBRARY}
    INTERFACE_INCLUDE_DIRECTORIES ${IRRLICHT_INCLUDE_DIR}
    # Irrlicht's headers are not warning-clean; keep them out of our warnings.
    INTERFACE_SYSTEM_INCLUDE_DIRECTORIES ${IRRLICHT_INCLUDE_DIR})
endif()

find_package(Freetype REQUIRED)
find_package(assimp 5.2 REQUIRED)
find_package(Threads REQUIRED)
if(HALVEX_TESTS)
  find_package(GTest REQUIRED)
endif()
if(HALVEX_BENCHMARKS)
  find_package(benchmark REQUIRED)
endif()
