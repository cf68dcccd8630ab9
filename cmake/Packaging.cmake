# `cpack -G DEB` in an optimised build folder makes a Debian package of what `cmake --install`
# installs; the libraries it needs (Qt 6, giflib, the C++ runtime) become its dependencies through
# dpkg-shlibdeps (Debian package dpkg-dev).
# The package's maintainer is whoever builds it: by Debian's habit the name and address in
# DEBFULLNAME and DEBEMAIL, else the ones git knows for this checkout, else the user's login on
# this host. -DZANDOR_PACKAGE_MAINTAINER="Name <address>" sets it outright.
function(zandor_default_maintainer out)
    set(name "$ENV{DEBFULLNAME}")
    set(mail "$ENV{DEBEMAIL}")
    find_program(ZANDOR_GIT git)
    foreach(field name mail)
        if(NOT ${field} AND ZANDOR_GIT)
            if(field STREQUAL name)
                set(key user.name)
            else()
                set(key user.email)
            endif()
            execute_process(COMMAND ${ZANDOR_GIT} -C ${CMAKE_SOURCE_DIR} config ${key}
                            OUTPUT_VARIABLE ${field} OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET)
        endif()
    endforeach()
    if(NOT name OR NOT mail)
        set(user "$ENV{USER}")
        if(NOT user)
            set(user zandor)
        endif()
        cmake_host_system_information(RESULT host QUERY FQDN)
        if(NOT name)
            set(name "${user}")
        endif()
        if(NOT mail)
            set(mail "${user}@${host}")
        endif()
    endif()
    set(${out} "${name} <${mail}>" PARENT_SCOPE)
endfunction()
if(NOT ZANDOR_PACKAGE_MAINTAINER)
    zandor_default_maintainer(maintainer)
    set(ZANDOR_PACKAGE_MAINTAINER "${maintainer}" CACHE STRING "The Maintainer field of the Debian package")
endif()

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
# for addresses and help pages, and the Qt plugin that draws the window's SVG icon (loaded at run
# time, so dpkg-shlibdeps cannot see it).
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "fonts-dejavu-core, fonts-liberation, xdg-utils, libqt6svg6")
include(CPack)
