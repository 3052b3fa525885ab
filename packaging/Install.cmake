# Installing the game: `cmake --install build [--prefix P]` (P is /usr/local
# unless given), and in the build folder `cpack -G DEB` and `cpack -G TGZ`.
#
# The game stays the portable folder the build lays out. P/lib/games/vroomzle/
# holds the two programs; its map/ and tiles/ are links into
# P/share/games/vroomzle/, where Debian keeps data that every architecture
# shares. The programs reach PATH as links into that folder, and ProgramFolder
# follows them through /proc/self/exe.
#
# Components:
#   game      the folder and its data, the marker `installed`, desktop entry, icons, AppStream
#             metadata, manual pages, copyright and changelog
#   bin       the links in P/bin/, which is on PATH for /usr/local and ~/.local
#   debian    the same links in P/games/ instead, where Debian puts games;
#             only the .deb installs it
#   portable  the flat folder alone, for the tarball; only the .tar.gz installs it

set(VROOMZLE_APP_ID io.github.vroomzle.Vroomzle)
set(VROOMZLE_MAINTAINER "The Vroomzle developers <maintainers@users.noreply.c-seed-317efed3.example>")
set(VZ_GAME_FOLDER lib/games/vroomzle)
set(VZ_GAME_DATA share/games/vroomzle)
set(VZ_PACKAGING ${CMAKE_CURRENT_LIST_DIR})
set(VZ_STAGE ${CMAKE_BINARY_DIR}/packaging)

# Folders the install creates are 0755 whatever the umask of the build.
set(CMAKE_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)

# The data beside the program, as the build writes it.
set(VZ_MAP_FILES ${VROOMZLE_DATA_DIR}/map/level.ini)
foreach(n RANGE 1 10)
  list(APPEND VZ_MAP_FILES ${VROOMZLE_DATA_DIR}/map/map${n}.bmp)
endforeach()
set(VZ_TILE_FILES "")
foreach(n RANGE 0 8)
  list(APPEND VZ_TILE_FILES ${VROOMZLE_DATA_DIR}/tiles/${n}.jpg)
endforeach()

# Relative links, made once here and installed as links, so they hold under
# any prefix and inside the packages.
file(MAKE_DIRECTORY ${VZ_STAGE}/folder ${VZ_STAGE}/path)
foreach(data map tiles)
  file(CREATE_LINK ../../../${VZ_GAME_DATA}/${data} ${VZ_STAGE}/folder/${data} SYMBOLIC)
endforeach()
foreach(program vroomzle vroomzle-levels)
  file(CREATE_LINK ../${VZ_GAME_FOLDER}/${program} ${VZ_STAGE}/path/${program} SYMBOLIC)
endforeach()

# A stripped install (cpack, cmake --install --strip) also drops the sections
# that Debian's dh_strip removes and lintian reports as unneeded: the compilers'
# .comment and a bare .note.
function(vz_strip_sections destination component)
  install(CODE "
    if(CMAKE_INSTALL_DO_STRIP)
      foreach(program vroomzle vroomzle-levels)
        execute_process(COMMAND \"${CMAKE_STRIP}\" --remove-section=.comment --remove-section=.note
                                \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${destination}/\${program}\"
                        RESULT_VARIABLE status)
        if(status)
          message(FATAL_ERROR \"strip \${program}: \${status}\")
        endif()
      endforeach()
    endif()" COMPONENT ${component} ${ARGN})
endfunction()

# Debian wants manual pages and changelogs compressed, without a time stamp.
find_program(VZ_GZIP gzip REQUIRED)
set(VZ_COMPRESSED "")
foreach(file vroomzle.6 vroomzle-levels.6 changelog)
  add_custom_command(
    OUTPUT ${VZ_STAGE}/${file}.gz
    COMMAND ${CMAKE_COMMAND} -E copy ${VZ_PACKAGING}/${file} ${VZ_STAGE}/${file}
    COMMAND ${VZ_GZIP} -9nf ${VZ_STAGE}/${file}
    DEPENDS ${VZ_PACKAGING}/${file}
    VERBATIM)
  list(APPEND VZ_COMPRESSED ${VZ_STAGE}/${file}.gz)
endforeach()
add_custom_target(vz_packaging ALL DEPENDS ${VZ_COMPRESSED})

# game. The marker tells the programs that they are installed, so that the
# profile goes to each player's data folder and never among the installed files.
install(TARGETS vroomzle vroomzle-levels RUNTIME DESTINATION ${VZ_GAME_FOLDER} COMPONENT game)
install(FILES ${VZ_PACKAGING}/installed DESTINATION ${VZ_GAME_FOLDER} COMPONENT game)
install(FILES ${VZ_STAGE}/folder/map ${VZ_STAGE}/folder/tiles DESTINATION ${VZ_GAME_FOLDER} COMPONENT game)
vz_strip_sections(${VZ_GAME_FOLDER} game)
install(FILES ${VZ_MAP_FILES} DESTINATION ${VZ_GAME_DATA}/map COMPONENT game)
install(FILES ${VZ_TILE_FILES} DESTINATION ${VZ_GAME_DATA}/tiles COMPONENT game)
install(FILES ${VZ_PACKAGING}/${VROOMZLE_APP_ID}.desktop DESTINATION share/applications COMPONENT game)
install(FILES ${VZ_PACKAGING}/${VROOMZLE_APP_ID}.metainfo.xml DESTINATION share/metainfo COMPONENT game)
get_property(VZ_ICON_SIZES GLOBAL PROPERTY VZ_ICON_SIZES)
foreach(n ${VZ_ICON_SIZES})
  install(FILES ${CMAKE_BINARY_DIR}/art/icons/${n}.png DESTINATION share/icons/hicolor/${n}x${n}/apps
          RENAME ${VROOMZLE_APP_ID}.png COMPONENT game)
endforeach()
install(FILES ${VZ_STAGE}/vroomzle.6.gz ${VZ_STAGE}/vroomzle-levels.6.gz DESTINATION share/man/man6 COMPONENT game)
install(FILES ${VZ_PACKAGING}/copyright ${VZ_STAGE}/changelog.gz DESTINATION share/doc/vroomzle COMPONENT game)

# bin and debian
install(FILES ${VZ_STAGE}/path/vroomzle ${VZ_STAGE}/path/vroomzle-levels DESTINATION bin COMPONENT bin)
install(FILES ${VZ_STAGE}/path/vroomzle ${VZ_STAGE}/path/vroomzle-levels DESTINATION games
        COMPONENT debian EXCLUDE_FROM_ALL)

# portable
install(TARGETS vroomzle vroomzle-levels RUNTIME DESTINATION . COMPONENT portable EXCLUDE_FROM_ALL)
vz_strip_sections(. portable EXCLUDE_FROM_ALL)
install(FILES ${VZ_MAP_FILES} DESTINATION map COMPONENT portable EXCLUDE_FROM_ALL)
install(FILES ${VZ_TILE_FILES} DESTINATION tiles COMPONENT portable EXCLUDE_FROM_ALL)

# Packages. CPackOptions.cmake picks the components of each generator.
set(CPACK_PACKAGE_NAME vroomzle)
set(CPACK_PACKAGE_VENDOR "The Vroomzle developers")
set(CPACK_PACKAGE_CONTACT ${VROOMZLE_MAINTAINER})
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "car park puzzle of matching pairs")
string(JOIN "\n" CPACK_PACKAGE_DESCRIPTION
  "Vroomzle is a puzzle game for one player on an isometric car park. Every"
  "bay holds a stack of up to six cars, and only the top car shows. Click two"
  "identical free cars to drive them away, and click an emptied bay to bring"
  "up the next hidden car."
  ""
  "Clearing a board wins money to spend in the shop on a one-step undo,"
  "previews of the hidden cars and three medals. There are two championships"
  "of 40 levels each and four free-level tiers, from easy to maniac.")
set(CPACK_GENERATOR DEB TGZ)
set(CPACK_STRIP_FILES TRUE)
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Arial, which the window asks for, is served by Liberation Sans.
set(CPACK_DEBIAN_PACKAGE_DEPENDS fonts-liberation2)
# Qt's wayland plugin makes the game a native client of a Wayland desktop
# (GNOME's and KDE's default). Without it Qt falls back to X11 through
# XWayland, and on an X11 desktop it is of no use: recommended, not required.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS qt6-wayland)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_VZ_BUILD_DIR ${CMAKE_BINARY_DIR})
set(CPACK_VZ_SOURCE_DIR ${PROJECT_SOURCE_DIR})
set(CPACK_VZ_PACKAGING_DIR ${VZ_PACKAGING})
set(CPACK_VZ_PROCESSOR ${CMAKE_SYSTEM_PROCESSOR})
set(CPACK_PROJECT_CONFIG_FILE ${VZ_PACKAGING}/CPackOptions.cmake)
include(CPack)
