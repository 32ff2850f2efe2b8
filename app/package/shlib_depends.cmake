# Run by cpack (CPACK_PRE_BUILD_SCRIPTS) once the package's files are staged,
# before the .deb is made: Depends from dpkg-shlibdeps over every ELF file in
# the package, with libcurl's floor raised to what the HTTP module needs
# (CPACK_VANTREL_LIBCURL_MINIMUM), then the package's own Depends.
#
# Why not CPack's CPACK_DEBIAN_PACKAGE_SHLIBDEPS: with it, CPack also writes a
# postinst and a postrm that call ldconfig whenever a shared object lies in
# /usr/lib or one folder below it, as the HTTP module does in the program's
# folder, and CMake has no setting to leave them out. The module is loaded by
# its path, never through the linker's cache, so those calls do nothing and
# lintian warns of them (maintscript-calls-ldconfig); an ldconfig trigger
# instead would be warned of as unnecessary.
if(NOT CPACK_GENERATOR STREQUAL "DEB")
  return()
endif()

find_program(_dpkg_shlibdeps dpkg-shlibdeps)
if(NOT _dpkg_shlibdeps)
  message(FATAL_ERROR "dpkg-shlibdeps is needed to work out the package's Depends (Debian: dpkg-dev)")
endif()

set(_staged "${CPACK_TEMPORARY_DIRECTORY}")
file(GLOB_RECURSE _files LIST_DIRECTORIES false "${_staged}/*")
set(_elf_files)
foreach(_file IN LISTS _files)
  if(NOT IS_SYMLINK "${_file}")
    file(READ "${_file}" _magic LIMIT 4 HEX)
    if(_magic STREQUAL "7f454c46")
      list(APPEND _elf_files "${_file}")
    endif()
  endif()
endforeach()
if(NOT _elf_files)
  message(FATAL_ERROR "no ELF file staged in ${_staged}")
endif()

# dpkg-shlibdeps wants a debian/control in its working folder; this one lies
# outside the staged files, so it is not packaged.
set(_work "${CPACK_TOPLEVEL_DIRECTORY}/vantrel-shlibdeps")
file(REMOVE_RECURSE "${_work}")
file(WRITE "${_work}/debian/control"
     "Source: ${CPACK_PACKAGE_NAME}\n\nPackage: ${CPACK_PACKAGE_NAME}\nArchitecture: any\n")
execute_process(COMMAND "${_dpkg_shlibdeps}" --ignore-missing-info -O ${_elf_files}
                WORKING_DIRECTORY "${_work}"
                RESULT_VARIABLE _result OUTPUT_VARIABLE _output ERROR_VARIABLE _errors)
file(REMOVE_RECURSE "${_work}")
if(NOT _result EQUAL 0 OR NOT _output MATCHES "shlibs:Depends=([^\n]*)")
  message(FATAL_ERROR "dpkg-shlibdeps failed (${_result}):\n${_errors}")
endif()
set(_depends "${CMAKE_MATCH_1}")

# The library's package keeps the name dpkg-shlibdeps found (it differs
# between releases); only its lowest version is raised.
if(NOT _depends MATCHES "(libcurl[^ ,]*) \\(>= ([^)]+)\\)")
  message(FATAL_ERROR "no libcurl among the package's libraries (the HTTP module is missing?): ${_depends}")
endif()
if(CMAKE_MATCH_2 VERSION_LESS CPACK_VANTREL_LIBCURL_MINIMUM)
  string(REPLACE "${CMAKE_MATCH_0}" "${CMAKE_MATCH_1} (>= ${CPACK_VANTREL_LIBCURL_MINIMUM})"
         _depends "${_depends}")
endif()

if(CPACK_DEBIAN_PACKAGE_DEPENDS)
  string(APPEND _depends ", ${CPACK_DEBIAN_PACKAGE_DEPENDS}")
endif()
set(CPACK_DEBIAN_PACKAGE_DEPENDS "${_depends}")
message(STATUS "Depends: ${CPACK_DEBIAN_PACKAGE_DEPENDS}")
