# libansilove (Debian package libansilove-dev) draws the 8x16 and 8x8 glyphs the screen fonts are
# built from, as the art archives' renderings show them; the tests draw their reference with it
# too. The library ships no pkg-config file, so its header and library are looked up directly.
find_package(PkgConfig QUIET)
if(PKG_CONFIG_FOUND)
    pkg_check_modules(PC_ANSILOVE QUIET libansilove)
endif()
find_path(ANSILOVE_INCLUDE_DIR ansilove.h HINTS ${PC_ANSILOVE_INCLUDE_DIRS})
find_library(ANSILOVE_LIBRARY ansilove HINTS ${PC_ANSILOVE_LIBRARY_DIRS})
if(NOT ANSILOVE_INCLUDE_DIR OR NOT ANSILOVE_LIBRARY)
    message(FATAL_ERROR "libansilove is missing (ansilove.h: ${ANSILOVE_INCLUDE_DIR}, library: "
                        "${ANSILOVE_LIBRARY}): install the Debian package libansilove-dev")
endif()
add_library(Ansilove::Ansilove UNKNOWN IMPORTED)
set_target_properties(Ansilove::Ansilove PROPERTIES IMPORTED_LOCATION ${ANSILOVE_LIBRARY}
                                                    INTERFACE_INCLUDE_DIRECTORIES ${ANSILOVE_INCLUDE_DIR})
# libpng reads the pictures it draws.
find_package(PNG REQUIRED)
