# The Debian package, packed by CPack from the install rules (what cmake --install installs, less
# the Python module, whose Python dependencies dpkg-shlibdeps cannot work out), under /usr:
# scripts/package.sh builds dist/bramblex2_<version>_<arch>.deb. dpkg-shlibdeps works out the
# libraries it depends on.
set(CPACK_INSTALL_CMAKE_PROJECTS "${CMAKE_BINARY_DIR};${PROJECT_NAME};Unspecified;/")
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME bramblex2)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "The Bramblex 2 developers")
set(CPACK_PACKAGE_CONTACT "Bramblex 2 maintainers <maintainers@users.noreply.c-seed-0d712f59.example>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "artificial-life simulator with a companion screensaver")
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
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION science)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE https://www.bramblex.example.com/)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# A screensaver host to run the saver in; the simulator and the runner need none.
set(CPACK_DEBIAN_PACKAGE_SUGGESTS "xscreensaver | mate-screensaver")
include(CPack)
