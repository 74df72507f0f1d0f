# The Debian package: `cpack -G DEB` in a build folder configured with
# -DCMAKE_INSTALL_PREFIX=/usr (scripts/package.sh does both). It holds what
# `cmake --install` installs: the viewer, norq-ais, norq-sim, the program folder
# share/norq-ais-viewer/ (language files, sound, demo feed, world chart, gazetteer,
# manual), the desktop entry, icons, AppStream metadata and man pages.
set(CPACK_PACKAGE_NAME norq-ais-viewer)
set(CPACK_PACKAGE_VENDOR "NORQ")
set(CPACK_PACKAGE_CONTACT "NORQ AIS Viewer developers <ais-viewer@norq.invalid>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "desktop viewer for a ship's AIS installation")
set(CPACK_PACKAGE_DESCRIPTION
    "NORQ AIS Viewer reads the NMEA 0183 sentences of an AIS transponder, a GNSS\n"
    "receiver and a crew-watch controller over a serial line, TCP/IP or UDP, or\n"
    "from a recording, decodes the AIS messages and shows the targets around the\n"
    "own ship in a ship list, a target grid and on a world chart, with range,\n"
    "bearing and CPA/TCPA, AIS MOB and SART alarms and safety messages.\n"
    "\n"
    "Also included: norq-ais, the same core on the command line (check, decode\n"
    "to JSON, replay and export, bench), and norq-sim, a simulator of the ship's\n"
    "devices.")
string(REPLACE ";" "" CPACK_PACKAGE_DESCRIPTION "${CPACK_PACKAGE_DESCRIPTION}")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
# The binaries look for their program folder at the prefix they were built for.
set(CPACK_PACKAGING_INSTALL_PREFIX ${CMAKE_INSTALL_PREFIX})
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION science)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# The shared libraries (Qt 6 and its plugins' libraries, the C++ runtime) are found by
# dpkg-shlibdeps; what the program opens at run time without linking it is listed here.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-dejavu-core")
# Chinese interface texts, Qt's own dialogs in the chosen language, a Wayland session,
# and a program for the desktop to open the manual with.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS
    "fonts-wqy-microhei, qt6-translations-l10n, qt6-wayland, xdg-utils")
set(CPACK_DEBIAN_PACKAGE_SUGGESTS "socat, gpsd-clients")
set(CPACK_DEBIAN_PACKAGE_GENERATE_SHLIBS OFF)

include(CPack)
