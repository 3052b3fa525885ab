# Read by cpack once per generator: which install components go into the package.
if(CPACK_GENERATOR STREQUAL "DEB")
  # The system layout, with the program links in /usr/games.
  set(CPACK_INSTALL_CMAKE_PROJECTS
      "${CPACK_VZ_BUILD_DIR};Vroomzle;game;/"
      "${CPACK_VZ_BUILD_DIR};Vroomzle;debian;/")
elseif(CPACK_GENERATOR STREQUAL "TGZ")
  # The portable folder alone: the programs, map/ and tiles/ side by side.
  set(CPACK_INSTALL_CMAKE_PROJECTS "${CPACK_VZ_BUILD_DIR};Vroomzle;portable;/")
  set(CPACK_PACKAGE_FILE_NAME "vroomzle-${CPACK_PACKAGE_VERSION}-linux-${CPACK_VZ_PROCESSOR}")
endif()
