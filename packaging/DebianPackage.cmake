# The Debian package, built by CPack (`make deb`): both programs with their manual pages, the
# desktop entry, the metainfo and the icons, in /usr. Depends is computed from the binaries
# (dpkg-shlibdeps) plus the fonts the window draws its captions with: Liberation Sans and
# Serif, and Comic Neue, which stands in for Comic Sans MS.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME pevrand)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "Druvel Facility")
set(CPACK_PACKAGE_CONTACT "Pevrand Team <pevrand@druvel.example>")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_RELEASE 1)
set(CPACK_DEBIAN_PACKAGE_SECTION science)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-liberation | fonts-liberation2, fonts-comic-neue")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "neutron units converter")
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
    "Pevrand converts a value between the ten quantities of neutron-scattering
work: time-of-flight, d-spacing, momentum transfer Q, energy in meV and in
inverse cm, temperature, wavevector k, velocity, frequency and wavelength,
rounded to five significant figures.
.
The package holds the desktop program Pevrand and the command
pevrand-convert, which converts values given as arguments or one per line on
standard input and prints exactly what the window shows.")

include(CPack)
