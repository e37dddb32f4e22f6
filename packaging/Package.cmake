# The Debian package: `cpack -G DEB` in the build folder makes orvane_VERSION_ARCH.deb of
# everything `cmake --install` installs, with its library dependencies computed from the
# binaries (dpkg-shlibdeps).

# Debian keeps a package's copyright and changelog in /usr/share/doc/PACKAGE.
set(_doc_dir ${CMAKE_INSTALL_DATADIR}/doc/orvane)
configure_file(${CMAKE_CURRENT_LIST_DIR}/changelog.in ${CMAKE_BINARY_DIR}/packaging/changelog @ONLY)
find_program(GZIP_PROGRAM gzip REQUIRED)
add_custom_command(OUTPUT ${CMAKE_BINARY_DIR}/packaging/changelog.gz
  COMMAND ${GZIP_PROGRAM} -9n -c ${CMAKE_BINARY_DIR}/packaging/changelog > ${CMAKE_BINARY_DIR}/packaging/changelog.gz
  DEPENDS ${CMAKE_BINARY_DIR}/packaging/changelog
  VERBATIM)
add_custom_target(orvane_changelog ALL DEPENDS ${CMAKE_BINARY_DIR}/packaging/changelog.gz)
install(FILES ${CMAKE_CURRENT_LIST_DIR}/copyright ${CMAKE_BINARY_DIR}/packaging/changelog.gz
  DESTINATION ${_doc_dir})

set(CPACK_PACKAGE_NAME orvane)
set(CPACK_PACKAGE_VENDOR "The Orvane developers")
set(CPACK_PACKAGE_CONTACT "The Orvane developers <developers@orvane.example>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "wedding planner for the whole wedding in one file")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION misc)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://www.orvane.example/")
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
# The synopsis is CPACK_PACKAGE_DESCRIPTION_SUMMARY; this is the long description under it.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "Orvane keeps everything about one wedding in one file: the general facts of
the shower, the ceremony and the reception, a checklist whose due dates follow
the wedding date, the guest list with invitations, replies and gifts, an
expense tracker, a vendor address book and a reception seating plan. It
prints reports and mailing labels.")
include(CPack)
