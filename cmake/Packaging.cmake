# `cpack -G DEB` in an optimised build folder makes a Debian package of what `cmake --install`
# installs; the libraries it needs (Qt 6, giflib, the C++ runtime) become its dependencies through
# dpkg-shlibdeps (Debian package dpkg-dev).
set(ZANDOR_PACKAGE_MAINTAINER "Zandor developers <zandor@example.org>"
    CACHE STRING "The Maintainer field of the Debian package")

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME zandor)
set(CPACK_PACKAGE_VENDOR Veltrane)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "viewer and editor for text-mode art and plain text")
set(CPACK_PACKAGE_DESCRIPTION
    "Zandor shows .nfo and .diz art in the screen fonts it was drawn for and edits any 8-bit text file.")
set(CPACK_PACKAGE_CONTACT ${ZANDOR_PACKAGE_MAINTAINER})
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION editors)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The stand-ins for the Windows faces of the menus and the print font, and the desktop's opener
# for addresses and help pages.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "fonts-dejavu-core, fonts-liberation, xdg-utils")
include(CPack)
