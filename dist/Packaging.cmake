# The Debian package (`make package`): everything that `cmake --install`
# puts in place, under /usr and laid out as Debian's games are
# (DebianLayout.cmake), with the program stripped, depending on the shared
# libraries the game links as dpkg-shlibdeps finds them.

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME kalvex)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "Kalvex developers")
set(CPACK_PACKAGE_CONTACT "Kalvex developers <team@kalvex.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "code-breaking game with coloured pegs")
# Lines of the long description stay under 80 columns.
set(CPACK_PACKAGE_DESCRIPTION [[
Find a secret code of five pegs from nine colours in fourteen rows:
drag pegs from the palette into the current row, and black and white
marks score each guess. A computer player can show how it is done,
one peg every half second.]])
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_PACKAGE_DIRECTORY ${PROJECT_BINARY_DIR}/package)
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Beyond the libraries: the font the controls are drawn in; the program that
# opens the manual in a browser; and fontconfig, which the game opens only
# to look for another font when the packaged one is missing.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-dejavu-core")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "xdg-utils, libfontconfig1")

set(CPACK_PRE_BUILD_SCRIPTS ${CMAKE_CURRENT_SOURCE_DIR}/DebianLayout.cmake)
set(CPACK_KX_DESKTOP_TEMPLATE ${KX_DESKTOP_TEMPLATE})
set(CPACK_KX_APP_ID ${KX_APP_ID})
set(CPACK_KX_COPYRIGHT ${CMAKE_CURRENT_SOURCE_DIR}/copyright)
set(CPACK_KX_CHANGELOG ${CMAKE_CURRENT_SOURCE_DIR}/changelog)
set(CPACK_KX_LINTIAN_OVERRIDES ${CMAKE_CURRENT_SOURCE_DIR}/lintian-overrides)

include(CPack)
