# The Debian packages, built by CPack (`make deb`, scripts/deb.sh).
#
# pevrand: both programs with their manual pages, the desktop entry, the metainfo and the
# icons, in /usr. Depends is computed from the binaries (dpkg-shlibdeps) plus the fonts the
# window draws its captions with: Liberation Sans and Serif, and Comic Neue, which stands in
# for Comic Sans MS.
#
# python3-pevrand (the install component `python`): the Python module in Debian's place for
# modules. Its ${python3:Depends} and its byte-compiling maintainer scripts come from
# dh_python3, which scripts/deb.sh runs on the staged module before CPack packs it (see
# CPackProject.cmake.in), numpy and its ABI from dh_numpy3; the rest of Depends from dpkg-shlibdeps.
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

if(PEVRAND_PYTHON)
    set(CPACK_DEB_COMPONENT_INSTALL ON)
    set(CPACK_COMPONENTS_ALL pevrand python)
    set(CPACK_DEBIAN_PEVRAND_PACKAGE_NAME pevrand)
    set(CPACK_DEBIAN_PEVRAND_FILE_NAME DEB-DEFAULT)
    set(CPACK_DEBIAN_PEVRAND_PACKAGE_DEPENDS ${CPACK_DEBIAN_PACKAGE_DEPENDS})
    # Each package's description starts with its own synopsis: CPackProject.cmake keeps CPack
    # from putting the one summary before both.
    set(CPACK_DEBIAN_PEVRAND_DESCRIPTION
        "${CPACK_PACKAGE_DESCRIPTION_SUMMARY}\n${CPACK_DEBIAN_PACKAGE_DESCRIPTION}")
    set(CPACK_DEBIAN_PYTHON_PACKAGE_NAME python3-pevrand)
    set(CPACK_DEBIAN_PYTHON_FILE_NAME DEB-DEFAULT)
    set(CPACK_DEBIAN_PYTHON_PACKAGE_SECTION python)
    set(CPACK_DEBIAN_PYTHON_DESCRIPTION "neutron units converter for Python and numpy
The module pevrand converts values, or whole numpy arrays of them, between
the ten quantities of neutron-scattering work (time-of-flight, d-spacing,
momentum transfer Q, energy in meV and in inverse cm, temperature,
wavevector k, velocity, frequency and wavelength) with exactly the numbers
that the Pevrand window shows, rounded to five significant figures.
.
This package holds the module for Python 3.")
    set(CPACK_PROJECT_CONFIG_FILE ${PROJECT_BINARY_DIR}/CPackProject.cmake)
    configure_file(${PROJECT_SOURCE_DIR}/packaging/CPackProject.cmake.in
                   ${CPACK_PROJECT_CONFIG_FILE} @ONLY)
endif()

include(CPack)
