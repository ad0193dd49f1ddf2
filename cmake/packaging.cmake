# The Debian package of the programs (cpack -G DEB, see scripts/package.sh):
# everything that "cmake --install" puts under the prefix, installed under
# /usr. dpkg-shlibdeps (package dpkg-dev) reads the programs' shared
# libraries and declares the packages that hold them, so the Qt 6 libraries
# and whatever a companion command links are run-time dependencies without
# being named here (CPack finds the programs among the files with "file").
if(PROJECT_VERSION)
  set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
else()
  set(CPACK_PACKAGE_VERSION 1.03)
endif()
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME ostrand)
set(CPACK_PACKAGE_VENDOR "ostrand developers")
set(CPACK_PACKAGE_CONTACT "ostrand developers <ostrand@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "airport ground networks and surfaces for AI traffic")
set(CPACK_PACKAGE_DESCRIPTION [=[
ostrand lists, edits and merges airport ground networks (BGR files), interprets
scenery text into per-airport networks and generates the taxiway surfaces,
markings and lights of an airport (TMS files). Corvane is a Qt 6 editor that
draws an airport and writes the taxi-path files that AI traffic follows.
airportdb builds the airport database that ostrand -te reads.]=])
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION misc)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Loaded by Qt at run time, so no shared-library link shows it: the platform
# plugins without which Corvane cannot open a window.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins")
# "man ostrand" needs a manual reader, which minimal systems leave out.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "man-db")
set(CPACK_STRIP_FILES ON)
include(CPack)
