# The Debian package: `cpack -G DEB` in a build made with CMAKE_INSTALL_PREFIX=/usr. Its
# dependencies are found from the binaries by dpkg-shlibdeps.
set(KORVEL_MAINTAINER_EMAIL "developers@korvel.org")
set(KORVEL_PACKAGE_DOC ${CMAKE_INSTALL_DATADIR}/doc/korvel)

# Debian wants the copyright file and a compressed changelog in the package's doc folder.
configure_file(${PROJECT_SOURCE_DIR}/res/debian/changelog.in ${CMAKE_BINARY_DIR}/debian/changelog @ONLY)
add_custom_command(
  OUTPUT ${CMAKE_BINARY_DIR}/debian/changelog.gz
  COMMAND ${GZIP} --best --no-name --force --keep ${CMAKE_BINARY_DIR}/debian/changelog
  DEPENDS ${PROJECT_SOURCE_DIR}/res/debian/changelog.in)
add_custom_target(korvel_changelog ALL DEPENDS ${CMAKE_BINARY_DIR}/debian/changelog.gz)
install(FILES ${PROJECT_SOURCE_DIR}/res/debian/copyright ${CMAKE_BINARY_DIR}/debian/changelog.gz
        DESTINATION ${KORVEL_PACKAGE_DOC})

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME korvel)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "The Korvel developers")
set(CPACK_PACKAGE_CONTACT "The Korvel developers <${KORVEL_MAINTAINER_EMAIL}>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "librarian for the W2 hardware MIDI sequencer")
set(CPACK_PACKAGE_DESCRIPTION
    "Korvel opens two memory dumps of the W2 sequencer (.syx files of MIDI System
Exclusive messages) side by side and copies patterns, tracks, playlist sets and
banks between them, each copied message re-addressed and re-checksummed. It
names banks, regroups the pattern memory into 3, 6 or 12 banks, shows what
differs between two dumps, and receives, sends and checks dumps over MIDI.
.
The package holds the window (korvel) and korvel-cli, which does the same from
the command line.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION sound)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE ${KORVEL_HOMEPAGE})
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Qt loads the platform plugin at run time, so no binary names it.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins")
set(CPACK_DEBIAN_COMPRESSION_TYPE xz)
include(CPack)
