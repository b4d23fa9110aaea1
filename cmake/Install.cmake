# Installation as Linux desktops expect it, and the Debian package.
#
#   lib/lexorvia/lexorvia          the program
#   lib/lexorvia/MorvaneSys.DLL    the resource module, which the program loads
#                                  from its own folder
#   bin/lexorvia                   a relative symbolic link to the program; the
#                                  program finds its folder through
#                                  /proc/self/exe, so it sees lib/lexorvia
#   share/applications/lexorvia.desktop
#   share/icons/hicolor/scalable/apps/lexorvia.svg
#   share/metainfo/example.lexorvia.Lexorvia.metainfo.xml
#
# The program's folder is not writable for the people who use an installed
# copy, so the settings live in ~/.config/Lexorvia/ (see LocateSettingsFile).
include(GNUInstallDirs)

# Always lib/lexorvia, also where GNUInstallDirs would pick a multiarch folder:
# the program and its module form one private folder, not a library.
set(LEXORVIA_INSTALL_PRIVATEDIR lib/lexorvia)
set(LEXORVIA_APP_ID example.lexorvia.Lexorvia)

install(TARGETS lexorvia MorvaneSys
  RUNTIME DESTINATION ${LEXORVIA_INSTALL_PRIVATEDIR}
  LIBRARY DESTINATION ${LEXORVIA_INSTALL_PRIVATEDIR})

# The launcher: a link made in the build tree and installed as it is (file
# installation keeps symbolic links). Its target is relative to the bin folder,
# so it holds under any prefix and in a staged (DESTDIR) installation.
if(IS_ABSOLUTE "${CMAKE_INSTALL_BINDIR}")
  message(FATAL_ERROR "Lexorvia: CMAKE_INSTALL_BINDIR must be relative to the prefix, not ${CMAKE_INSTALL_BINDIR}")
endif()
file(RELATIVE_PATH lexorvia_launcher_target
  /prefix/${CMAKE_INSTALL_BINDIR} /prefix/${LEXORVIA_INSTALL_PRIVATEDIR}/lexorvia)
set(lexorvia_launcher ${CMAKE_BINARY_DIR}/install-launcher/lexorvia)
file(MAKE_DIRECTORY ${CMAKE_BINARY_DIR}/install-launcher)
file(CREATE_LINK ${lexorvia_launcher_target} ${lexorvia_launcher} SYMBOLIC)
install(FILES ${lexorvia_launcher} DESTINATION ${CMAKE_INSTALL_BINDIR})

install(FILES ${CMAKE_SOURCE_DIR}/packaging/lexorvia.desktop
  DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${CMAKE_SOURCE_DIR}/packaging/lexorvia.svg
  DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
install(FILES ${CMAKE_SOURCE_DIR}/packaging/${LEXORVIA_APP_ID}.metainfo.xml
  DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)

# The Debian package: cpack -G DEB in the build folder.
set(CPACK_PACKAGE_NAME lexorvia)
set(CPACK_PACKAGE_VENDOR "Lexorvia developers")
set(CPACK_PACKAGE_CONTACT "Lexorvia developers <support@lexorvia.example>")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "translator between English and Vietnamese")
set(CPACK_PACKAGE_DESCRIPTION
  "Lexorvia is a small desktop translator between English and Vietnamese. One\n\
window holds two panes: type, paste or open text in the upper pane, pick the\n\
direction, press Translate, and the translation appears in the lower pane (and,\n\
if you like, on the clipboard). Texts can be saved as UTF-16 text or HTML and\n\
the translation printed. Translations come from an online service, directly or\n\
through an HTTP proxy.")
set(CPACK_PACKAGE_HOMEPAGE_URL "http://www.lexorvia.example/")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
# The package carries the program without its debugging information; the
# module keeps its dynamic symbol table, which is all the program looks up.
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_PACKAGE_MAINTAINER "Lexorvia developers <support@lexorvia.example>")
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
# What is loaded or used at run time without being linked: the Qt platform
# plugins, the fonts the windows ask for (Arial, Tahoma) and the certificates
# HTTPS is checked against.
set(lexorvia_runtime_depends "qt6-qpa-plugins, fonts-liberation2, fonts-wine, ca-certificates")
# The shared libraries the program and the module link become dependencies
# through dpkg-shlibdeps (dpkg-dev) when it is there; otherwise they are named
# by hand, as dpkg-shlibdeps finds them on Debian 12.
find_program(LEXORVIA_DPKG_SHLIBDEPS dpkg-shlibdeps)
find_program(LEXORVIA_FILE file)
mark_as_advanced(LEXORVIA_DPKG_SHLIBDEPS LEXORVIA_FILE)
if(LEXORVIA_DPKG_SHLIBDEPS AND LEXORVIA_FILE)
  set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
  set(CPACK_DEBIAN_PACKAGE_DEPENDS "${lexorvia_runtime_depends}")
else()
  set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS OFF)
  set(CPACK_DEBIAN_PACKAGE_DEPENDS "${lexorvia_runtime_depends}, libc6 (>= 2.34), \
libcurl4 (>= 7.68.0), libgcc-s1 (>= 3.0), libqt6core6 (>= 6.4.0), libqt6gui6 (>= 6.1.2), \
libqt6printsupport6 (>= 6.1.2), libqt6widgets6 (>= 6.3.0), libstdc++6 (>= 11)")
endif()
set(CPACK_DEBIAN_PACKAGE_SUGGESTS "cups")

# cpack on its own builds the Debian package too.
set(CPACK_GENERATOR DEB)

include(CPack)
