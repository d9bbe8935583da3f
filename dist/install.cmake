# Installing like a desktop game, and the Debian package (cpack -G DEB).

set(EARTHGUARD_WEB "https://earthguard.example" CACHE STRING
    "Where the source tree's docs/ pictures are published, for the software centre's screenshots")
configure_file(${CMAKE_CURRENT_LIST_DIR}/earthguard.metainfo.xml.in
               ${CMAKE_BINARY_DIR}/earthguard.metainfo.xml @ONLY)

install(TARGETS earthguard RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(DIRECTORY ${PROJECT_SOURCE_DIR}/data/ DESTINATION ${CMAKE_INSTALL_DATADIR}/earthguard)
install(FILES ${CMAKE_CURRENT_LIST_DIR}/earthguard.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${CMAKE_BINARY_DIR}/earthguard.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(DIRECTORY ${CMAKE_BINARY_DIR}/icons/hicolor DESTINATION ${CMAKE_INSTALL_DATADIR}/icons)
install(FILES ${CMAKE_CURRENT_LIST_DIR}/earthguard.6 DESTINATION ${CMAKE_INSTALL_MANDIR}/man6)

set(CPACK_PACKAGE_NAME earthguard)
set(CPACK_PACKAGE_VENDOR "Earthguard team")
set(CPACK_PACKAGE_CONTACT "Earthguard team")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "arcade shooter: defend the blue planet against waves of aliens")
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "${CPACK_PACKAGE_DESCRIPTION_SUMMARY}
 Waves of forty aliens march sideways and step down towards the ground; a
 mother ship drops heavy bombs; bonus items buy power, speed, lives and better
 weapons in the shop, and a boss ends each of the five stages. For one or two
 players on one keyboard.")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
include(CPack)
