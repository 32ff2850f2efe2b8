# The Debian package: `cpack -G DEB` (or the `package` target) in the build
# folder writes vantrel_<version>_<arch>.deb from the install rules, for the
# /usr prefix. Depends comes from dpkg-shlibdeps over every ELF file in the
# package, so it follows whatever the program links or loads beside itself
# (libcurl comes in through the HTTP module), worked out by shlib_depends.cmake
# rather than CPack's own switch, which would add ldconfig calls (see there);
# the package has no maintainer scripts.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME vantrel)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_PACKAGE_CONTACT "Vantrel <${VANTREL_CONTACT_ADDRESS}>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "comparison chart of keystroke-monitoring programs")
# The extended description, below the summary line.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "Vantrel shows a published comparison chart of keystroke-monitoring programs,
each rated in six tests and a total. Selecting a result shows how the program
fared in each sub-criterion of that test; Update fetches the newest chart from
the publisher's data server into the user's own data folder.
.
vantrel-chart, the publisher's tool, checks, shows, compares, previews and
signs a chart before it is served, by the viewer's own code.")
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "http://${VANTREL_PUBLISHER_HOST}")
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS OFF)
set(CPACK_PRE_BUILD_SCRIPTS ${CMAKE_CURRENT_LIST_DIR}/shlib_depends.cmake)
# The lowest libcurl the HTTP module works with: the newest option it sets is
# CURLOPT_QUICK_EXIT (7.87.0). dpkg-shlibdeps sees only the functions the
# module links, which far older versions have too.
set(CPACK_VANTREL_LIBCURL_MINIMUM 7.87.0)
# Added to what dpkg-shlibdeps finds: the program opens pages with xdg-open.
set(CPACK_DEBIAN_PACKAGE_DEPENDS xdg-utils)
# Without the Wayland plugin Qt falls back to XWayland on a Wayland desktop;
# without the design's metric-compatible fonts the window falls back to wider
# ones; vantrel-chart sign runs minisign.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-wayland, fonts-liberation, minisign")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_COMPRESSION_TYPE xz)
set(CPACK_STRIP_FILES ON)
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
include(CPack)
