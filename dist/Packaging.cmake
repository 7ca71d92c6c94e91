# The Debian package (`make package`): everything that `cmake --install`
# puts in place, under /usr, depending on the shared libraries the game
# links as dpkg-shlibdeps finds them.

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME kalvex)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "The Kalvex team")
set(CPACK_PACKAGE_CONTACT "The Kalvex team <kalvex@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "code-breaking game with coloured pegs")
set(CPACK_PACKAGE_DESCRIPTION
    "Find a secret code of five pegs from nine colours in fourteen rows; \
black and white marks score each guess. A computer player can show how.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_PACKAGE_DIRECTORY ${PROJECT_BINARY_DIR}/package)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Beyond the libraries: the font the controls are drawn in, and the program
# that opens the manual in a browser.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-dejavu-core")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "xdg-utils")

include(CPack)
