# The built-in catalogue and window artwork. artgen draws them at build time and
# writes a source that embeds them; the same run writes the data files that lie
# beside the program (tiles/, map/), the desktop icons and review pictures under art/.
set(VZ_ART_SOURCE ${CMAKE_BINARY_DIR}/art/EmbeddedArt.cpp)
set(VZ_ART_OUTPUTS ${VZ_ART_SOURCE} ${CMAKE_BINARY_DIR}/art/catalogue.bin)
foreach(n RANGE 0 8)
  list(APPEND VZ_ART_OUTPUTS ${CMAKE_BINARY_DIR}/tiles/${n}.jpg)
endforeach()
foreach(n RANGE 1 10)
  list(APPEND VZ_ART_OUTPUTS ${CMAKE_BINARY_DIR}/map/map${n}.bmp)
endforeach()
# The desktop icons, one drawing per size (IconSizes in SmallArt.h); the
# install rules (packaging/Install.cmake) read the sizes from here.
set_property(GLOBAL PROPERTY VZ_ICON_SIZES 16 24 32 48 64 128 256)
get_property(VZ_ICON_SIZES GLOBAL PROPERTY VZ_ICON_SIZES)
foreach(n ${VZ_ICON_SIZES})
  list(APPEND VZ_ART_OUTPUTS ${CMAKE_BINARY_DIR}/art/icons/${n}.png)
endforeach()
set(VZ_ART_REVIEW "")
foreach(n RANGE 0 89)
  if(n LESS 10)
    list(APPEND VZ_ART_REVIEW ${CMAKE_BINARY_DIR}/art/catalogue/0${n}.png)
  else()
    list(APPEND VZ_ART_REVIEW ${CMAKE_BINARY_DIR}/art/catalogue/${n}.png)
  endif()
endforeach()

set(VZ_ARTGEN_ENVIRONMENT QT_QPA_PLATFORM=offscreen)
if(VROOMZLE_TSAN)
  # QPainter draws on Qt's thread pool, whose locking ThreadSanitizer cannot see in
  # a Qt not built with it: its reports there are noise, and artgen is a tool of
  # the build, not under test.
  list(APPEND VZ_ARTGEN_ENVIRONMENT TSAN_OPTIONS=report_bugs=0)
endif()
add_custom_command(
  OUTPUT ${VZ_ART_OUTPUTS}
  BYPRODUCTS ${VZ_ART_REVIEW}
  COMMAND ${CMAKE_COMMAND} -E env ${VZ_ARTGEN_ENVIRONMENT} $<TARGET_FILE:artgen> ${CMAKE_BINARY_DIR} ${VZ_ART_SOURCE}
  DEPENDS artgen
  COMMENT "Drawing the artwork"
  VERBATIM)
add_custom_target(vz_art ALL DEPENDS ${VZ_ART_OUTPUTS})

add_library(vz_catalogue STATIC ${PROJECT_SOURCE_DIR}/src/view/ImageCatalogue.cpp ${VZ_ART_SOURCE})
target_include_directories(vz_catalogue PUBLIC ${PROJECT_SOURCE_DIR}/src)
add_dependencies(vz_catalogue vz_art)
