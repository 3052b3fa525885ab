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
  set(CPACK_POST_BUILD_SCRIPTS ${CPACK_VZ_PACKAGING_DIR}/SortTarball.cmake)
endif()

# The same sources give the same packages, byte for byte: every time stamp in
# them (the files', the archives' members', the gzip headers') is the date of
# the commit built, unless SOURCE_DATE_EPOCH says otherwise. A source release
# (scripts/make-release.sh) carries that date in .source-date-epoch, and it comes
# first: a tarball unpacked inside some other git work tree would read that
# tree's date.
if(NOT DEFINED ENV{SOURCE_DATE_EPOCH})
  set(release_date_file ${CPACK_VZ_SOURCE_DIR}/.source-date-epoch)
  if(EXISTS ${release_date_file})
    file(STRINGS ${release_date_file} commit_date LIMIT_COUNT 1)
    if(NOT commit_date MATCHES "^[0-9]+$")
      message(FATAL_ERROR "${release_date_file} holds no date (seconds since 1970)")
    endif()
  else()
    find_package(Git QUIET)
    if(GIT_FOUND)
      execute_process(COMMAND ${GIT_EXECUTABLE} -C ${CPACK_VZ_SOURCE_DIR} log -1 --format=%ct
                      OUTPUT_VARIABLE commit_date OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET)
    endif()
  endif()
  if(commit_date MATCHES "^[0-9]+$")
    set(ENV{SOURCE_DATE_EPOCH} ${commit_date})
  endif()
endif()
