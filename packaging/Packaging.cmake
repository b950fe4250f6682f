# Installing Quendle as a Debian game, and the .deb built from that install:
#   cmake --build build-package --target package
# The game reads "icon.bmp" and keeps "moon" in its working directory, so the
# command on the PATH is a launcher that runs it in the player's own data
# directory; the game binary itself lives out of the way of the PATH.

set(QUENDLE_GAME_DIR lib/games/quendle)
set(QUENDLE_DATA_DIR ${CMAKE_INSTALL_DATAROOTDIR}/quendle)
set(QUENDLE_DOC_DIR ${CMAKE_INSTALL_DATAROOTDIR}/doc/quendle)
set(QUENDLE_APPSTREAM_ID example.quendle.quendle)
set(QUENDLE_MAINTAINER "Quendle developers <maintainers@users.noreply.c-seed-21c8f772.example>")

# The launcher, twice: beside the build's game for ./play, and for the
# installed tree, each finding the game and the icon relative to itself.
set(LAUNCHER_TO_GAME quendle)
set(LAUNCHER_TO_ICON icon.bmp)
configure_file(packaging/quendle-launcher.in ${CMAKE_BINARY_DIR}/quendle-launcher @ONLY)
file(RELATIVE_PATH LAUNCHER_TO_GAME /root/${CMAKE_INSTALL_BINDIR} /root/${QUENDLE_GAME_DIR}/quendle)
file(RELATIVE_PATH LAUNCHER_TO_ICON /root/${CMAKE_INSTALL_BINDIR} /root/${QUENDLE_DATA_DIR}/icon.bmp)
configure_file(packaging/quendle-launcher.in ${CMAKE_BINARY_DIR}/packaging/quendle @ONLY)

# Debian wants the licence text indented by one space, blank lines as " .".
file(READ LICENSE QUENDLE_LICENSE_TEXT)
string(STRIP "${QUENDLE_LICENSE_TEXT}" QUENDLE_LICENSE_TEXT)
string(REPLACE "\n\n" "\n.\n" QUENDLE_LICENSE_TEXT "${QUENDLE_LICENSE_TEXT}")
string(REPLACE "\n" "\n " QUENDLE_LICENSE_TEXT " ${QUENDLE_LICENSE_TEXT}")
configure_file(packaging/copyright.in ${CMAKE_BINARY_DIR}/packaging/copyright @ONLY)

# Manual page and changelog go in gzipped, without name or time stamp, so
# the same sources give the same package.
set(QUENDLE_GZIPPED)
foreach(source quendle.6 changelog)
    set(gzipped ${CMAKE_BINARY_DIR}/packaging/${source}.gz)
    add_custom_command(OUTPUT ${gzipped}
                       COMMAND gzip -9n -c ${CMAKE_SOURCE_DIR}/packaging/${source} > ${gzipped}
                       DEPENDS ${CMAKE_SOURCE_DIR}/packaging/${source})
    list(APPEND QUENDLE_GZIPPED ${gzipped})
endforeach()
add_custom_target(gzipped_docs ALL DEPENDS ${QUENDLE_GZIPPED})

install(TARGETS quendle RUNTIME DESTINATION ${QUENDLE_GAME_DIR})
install(PROGRAMS ${CMAKE_BINARY_DIR}/packaging/quendle DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${CMAKE_BINARY_DIR}/icon.bmp DESTINATION ${QUENDLE_DATA_DIR})
install(FILES packaging/quendle.desktop DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/applications)
install(FILES ${CMAKE_BINARY_DIR}/quendle.png
        DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/icons/hicolor/64x64/apps)
install(FILES packaging/${QUENDLE_APPSTREAM_ID}.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/metainfo)
install(FILES ${CMAKE_BINARY_DIR}/packaging/quendle.6.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man6)
install(FILES ${CMAKE_BINARY_DIR}/packaging/copyright ${CMAKE_BINARY_DIR}/packaging/changelog.gz
        DESTINATION ${QUENDLE_DOC_DIR})

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME quendle)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_PACKAGE_CONTACT "${QUENDLE_MAINTAINER}")
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "arcade game of falling red and blue balls")
set(CPACK_PACKAGE_DESCRIPTION "Red and blue balls fall from the top of the window; the left mouse
button fires a blue shot, the right button a red one. A shot that meets
a ball of its own colour removes it and scores; a ball that reaches the
bottom, a shot that reaches the top and a shot that meets the other
colour each cost a life. Every cleared level brings more balls that
fall faster, at one of four difficulties, and the ten best results are
kept with the players' names.")
include(CPack)
