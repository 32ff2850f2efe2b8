# Install step: puts the sample chart beside the installed program, but only
# the files that are not there yet, so a reinstall keeps a chart that an
# update has replaced. Expects VANTREL_SAMPLE_CHART_DIR and
# VANTREL_PROGRAM_SUBDIR (relative to the install prefix) to be set.
set(_dest "$ENV{DESTDIR}${CMAKE_INSTALL_PREFIX}/${VANTREL_PROGRAM_SUBDIR}")
foreach(name data policy version)
  if(EXISTS "${_dest}/${name}")
    message(STATUS "Keeping: ${_dest}/${name}")
  else()
    message(STATUS "Installing: ${_dest}/${name}")
    file(COPY "${VANTREL_SAMPLE_CHART_DIR}/${name}" DESTINATION "${_dest}"
         FILE_PERMISSIONS OWNER_READ OWNER_WRITE GROUP_READ WORLD_READ)
  endif()
endforeach()
