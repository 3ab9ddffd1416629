# The Debian packages, packed by CPack from the install rules under /usr:
# scripts/package.sh builds dist/bramblex2_<version>_<arch>.deb (the programs: what cmake --install
# installs outside component "python") and dist/python3-bramblex_<version>_<arch>.deb (the Python
# module, its type stub and bramblex-sweep). dpkg-shlibdeps works out the libraries each depends
# on; the Python module's Python dependencies it cannot, so they are written here.
set(CPACK_INSTALL_CMAKE_PROJECTS "${CMAKE_BINARY_DIR};${PROJECT_NAME};ALL;/")
set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_COMPONENTS_ALL Unspecified)
if(TARGET bramblex_python)
  list(APPEND CPACK_COMPONENTS_ALL python)
endif()
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME bramblex2)
set(CPACK_DEBIAN_UNSPECIFIED_PACKAGE_NAME bramblex2)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "The Bramblex 2 developers")
set(CPACK_PACKAGE_CONTACT "Bramblex 2 maintainers <maintainers@users.noreply.c-seed-0d712f59.example>")
# The long description as Debian shows it: paragraphs of whole sentences, lines of at most 80
# characters, " ." between paragraphs. (CONCAT keeps every character; a list would lose semicolons.)
string(CONCAT CPACK_PACKAGE_DESCRIPTION
    "Bramblex 2 grows a world on a grid of coloured squares. Every square carries an\n"
    "environment and an organism. Generation after generation they decay, grow, feed\n"
    "each other and overtake their neighbours. Mutations change the colour that\n"
    "spreads, and asteroids drop new colours on random squares.\n"
    ".\n"
    "The package holds the simulator (bramblex2), its screensaver for xscreensaver\n"
    "and mate-screensaver, and bramblex-run, which runs the same worlds from the\n"
    "command line and writes statistics, pictures and profiles.")
# Each package's description starts with its own summary line (CPack would put one summary on both).
set(CPACK_DEBIAN_UNSPECIFIED_DESCRIPTION
    "artificial-life simulator with a companion screensaver\n${CPACK_PACKAGE_DESCRIPTION}")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION science)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE https://www.bramblex.example.com/)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# A screensaver host to run the saver in; the simulator and the runner need none.
set(CPACK_DEBIAN_UNSPECIFIED_PACKAGE_SUGGESTS "xscreensaver | mate-screensaver")

set(CPACK_DEBIAN_PYTHON_PACKAGE_NAME python3-bramblex)
set(CPACK_DEBIAN_PYTHON_PACKAGE_SECTION python)
set(CPACK_DEBIAN_PYTHON_PACKAGE_DEPENDS "python3 (>= 3.11), python3-numpy, python3-pandas, python3-distributed")
string(CONCAT CPACK_DEBIAN_PYTHON_DESCRIPTION
    "Bramblex 2 worlds from Python and sweeps of them on Dask\n"
    "The module bramblex runs Bramblex 2 worlds as bramblex-run does, bit for bit,\n"
    "and shows their layers as numpy arrays and their statistics as pandas frames.\n"
    "bramblex-sweep and bramblex.sweep() run many worlds, every combination of\n"
    "seeds and option values, on a Dask cluster of one machine or many.")
# Python compiles the module's files on installing and removes what it compiled on removing, as
# Debian's Python packages do.
set(CPACK_DEBIAN_PYTHON_PACKAGE_CONTROL_EXTRA
    ${CMAKE_SOURCE_DIR}/data/python3-bramblex/postinst ${CMAKE_SOURCE_DIR}/data/python3-bramblex/prerm)
set(CPACK_DEBIAN_PYTHON_PACKAGE_CONTROL_STRICT_PERMISSION ON)
include(CPack)
