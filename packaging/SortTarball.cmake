# Run by cpack after it made the tarball (CPACK_POST_BUILD_SCRIPTS). cpack
# writes the folder's entries in the order the file system lists them, which
# differs from one machine or file system to another, and as the user who
# packs. GNU tar writes it again: entries sorted by name, owned by root, every
# time stamp the commit's date (SOURCE_DATE_EPOCH), a gzip header without time
# or name.
foreach(package ${CPACK_PACKAGE_FILES})
  if(NOT package MATCHES "\\.tar\\.gz$")
    continue()
  endif()
  set(unpacked ${package}.unpacked)
  file(REMOVE_RECURSE ${unpacked})
  file(MAKE_DIRECTORY ${unpacked})
  execute_process(COMMAND tar -xzpf ${package} -C ${unpacked} COMMAND_ERROR_IS_FATAL ANY)
  file(GLOB top RELATIVE ${unpacked} ${unpacked}/*)
  list(SORT top)
  set(times "")
  if(DEFINED ENV{SOURCE_DATE_EPOCH})
    set(times --mtime=@$ENV{SOURCE_DATE_EPOCH})
  endif()
  execute_process(
    COMMAND tar --sort=name --format=gnu --owner=0 --group=0 --numeric-owner ${times} -C ${unpacked} -cf - ${top}
    COMMAND gzip -9n
    OUTPUT_FILE ${package}.sorted
    COMMAND_ERROR_IS_FATAL ANY)
  file(RENAME ${package}.sorted ${package})
  file(REMOVE_RECURSE ${unpacked})
endforeach()
