# Copies each chart file from SOURCE_DIR into DEST_DIR unless DEST_DIR already
# has a file of that name. The chart files beside the program may have been
# replaced by an update; a rebuild must never put the sample back over them.
#   cmake -DSOURCE_DIR=... -DDEST_DIR=... -P copy_if_missing.cmake
foreach(name IN ITEMS data policy version)
  if(NOT EXISTS "${DEST_DIR}/${name}")
    file(COPY "${SOURCE_DIR}/${name}" DESTINATION "${DEST_DIR}")
  endif()
endforeach()
