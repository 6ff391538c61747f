# Installing Tessel where a Linux desktop looks for it, and the Debian package.
#
#   cmake --install <build> [--prefix <dir>]      bin/tessel, its menu entry, icons, manual
#                                                 pages, shell completion, AppStream metainfo
#   cpack -G DEB        (in <build>)              tessel_<version>_<arch>.deb
#
# scripts/package.sh does the whole round: release build, package, listing;
# scripts/package-test.sh checks the package with lintian and installs it. The sources of
# the files beside the program are in packaging/ and docs/man/; the build puts what it
# makes of them into <build>/packaging (target tessel_desktop_files).

include(GNUInstallDirs)

# Qt and everything else it links come from the system's library folders: the installed
# binary needs no run path (the $ORIGIN one that Qt's project setup proposes has no room
# in a binary that was linked without any).
set_target_properties(tessel PROPERTIES INSTALL_RPATH "")
install(TARGETS tessel RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})

# The menu entry. The editor keeps its settings file Tessel.ini in the folder it is
# started from; from a menu that is the home folder.
set(tessel_desktop_file ${PROJECT_BINARY_DIR}/packaging/tessel.desktop)
file(CONFIGURE OUTPUT ${tessel_desktop_file} CONTENT [=[
[Desktop Entry]
Type=Application
Version=1.0
Name=Tessel
GenericName=Layout Editor
GenericName[de]=Layout-Editor
Comment=Edit the screen layout of a navigation device's map view
Comment[de]=Bildschirmaufbau der Kartenansicht eines Navigationsgeräts bearbeiten
Exec=tessel %f
Icon=tessel
Terminal=false
Categories=Graphics;2DGraphics;
Keywords=Skin;Layout;Navigation;Map view;
Keywords[de]=Skin;Layout;Navigation;Kartenansicht;
]=] @ONLY)
install(FILES ${tessel_desktop_file} DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)

# What a software centre shows: description, screenshot, release.
set(TESSEL_HOMEPAGE "https://tessel.invalid" CACHE STRING
    "The project's web address, named in the AppStream metainfo (the screenshot lies below it)")
set(tessel_metainfo ${PROJECT_BINARY_DIR}/packaging/io.github.tessel.Tessel.metainfo.xml)
configure_file(${PROJECT_SOURCE_DIR}/packaging/io.github.tessel.Tessel.metainfo.xml.in
    ${tessel_metainfo} @ONLY)
install(FILES ${tessel_metainfo} DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)

# The manual pages, English and German, and the package's changelog, compressed as
# Debian keeps them (gzip -9n: no name, no time stamp, the same bytes every build).
find_program(TESSEL_GZIP gzip REQUIRED)
set(tessel_compressed)
foreach(pair "docs/man/tessel.1:man/tessel.1" "docs/man/de/tessel.1:man/de/tessel.1"
        "packaging/debian/changelog:changelog")
    string(REPLACE ":" ";" pair "${pair}")
    list(GET pair 0 source)
    list(GET pair 1 target)
    set(target ${PROJECT_BINARY_DIR}/packaging/${target})
    add_custom_command(OUTPUT ${target}.gz
        COMMAND ${CMAKE_COMMAND} -E copy ${PROJECT_SOURCE_DIR}/${source} ${target}
        COMMAND ${TESSEL_GZIP} -9nf ${target}
        DEPENDS ${PROJECT_SOURCE_DIR}/${source}
        VERBATIM)
    list(APPEND tessel_compressed ${target}.gz)
endforeach()
add_custom_target(tessel_desktop_files ALL DEPENDS ${tessel_compressed})
install(FILES ${PROJECT_BINARY_DIR}/packaging/man/tessel.1.gz
    DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${PROJECT_BINARY_DIR}/packaging/man/de/tessel.1.gz
    DESTINATION ${CMAKE_INSTALL_MANDIR}/de/man1)

# Shell completion: options, their values, folders and pictures.
install(FILES ${PROJECT_SOURCE_DIR}/packaging/completion/tessel.bash
    DESTINATION ${CMAKE_INSTALL_DATADIR}/bash-completion/completions RENAME tessel)
install(FILES ${PROJECT_SOURCE_DIR}/packaging/completion/_tessel
    DESTINATION ${CMAKE_INSTALL_DATADIR}/zsh/vendor-completions)

foreach(size 16 32 48 256)
    install(FILES ${PROJECT_SOURCE_DIR}/resources/pictures/tessel-${size}.png
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps
        RENAME tessel.png)
endforeach()

# The README and the sample skin, to try the editor on without touching a real skin; the
# copyright and the changelog that every Debian package carries.
install(FILES ${PROJECT_SOURCE_DIR}/README.md ${PROJECT_SOURCE_DIR}/packaging/debian/copyright
    ${PROJECT_BINARY_DIR}/packaging/changelog.gz
    DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/tessel)
install(DIRECTORY ${PROJECT_SOURCE_DIR}/skins/sample/ DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/tessel/sample-skin)

# --- the Debian package -------------------------------------------------------------------

set(TESSEL_PACKAGE_CONTACT "Tessel maintainers <maintainers@tessel.invalid>"
    CACHE STRING "Maintainer named in the Debian package")

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME tessel)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "${TESSEL_PACKAGE_CONTACT}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
    "editor for the screen layouts of a navigation device's map view")
set(CPACK_PACKAGE_DESCRIPTION
    "Tessel arranges the screen elements of a handheld navigation device's map view\n\
(info bar, street names, route information, buttons and status symbols) on a\n\
240 x 320 pixel canvas over a street map. It reads and writes the two layout\n\
files of a skin folder, mapviewlt.ini and defaultlt.ini, and leaves every other\n\
line of them as it was. The user interface is in German.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGE_DIRECTORY ${PROJECT_BINARY_DIR}/packages)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION graphics)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# The shared libraries the binary links (Qt, libstdc++, libc) give the Depends line; Qt's
# German texts for its own dialogs, menus and key names come from a package of their own.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-translations-l10n")

include(CPack)
