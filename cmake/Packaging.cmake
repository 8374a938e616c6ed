# Debian package of the program (scripts/package.sh runs `cpack -G DEB`). Only the program
# and its desktop integration are installed; tools, tests and benchmarks stay in the tree.
include(GNUInstallDirs)
# The package script builds the program itself; installing must not rebuild every test.
set(CMAKE_SKIP_INSTALL_ALL_DEPENDENCY ON)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME reelvane-downloader)
set(CPACK_PACKAGE_VENDOR "Reelvane")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Downloads Digital Cinema Packages for ingest into cinema servers")
set(CPACK_PACKAGE_CONTACT "Reelvane support <support@reelvane.example>")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION video)
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
  "Downloads Digital Cinema Packages for ingest into cinema servers.\n\
 Opens the small encrypted package files of the OSKAN portal, writes the DCP\n\
 folder, downloads every asset with resumption and a bandwidth limit, verifies\n\
 each file's SHA-1 and gives the files their final names once the portal has\n\
 acknowledged them.")
# Libraries the binary links are found by dpkg-shlibdeps; the QML modules and the SQLite
# driver are loaded at run time, so they are named here.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS
  "libqt5sql5-sqlite, libqt5svg5, qml-module-qtquick2, qml-module-qtquick-window2, \
qml-module-qtquick-controls, qml-module-qtquick-dialogs, qml-module-qtquick-layouts, \
qml-module-qtqml-models2, xdg-utils")
# Qt's own texts (the buttons of the boxes, the file dialog) in the program's languages.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qttranslations5-l10n")

include(CPack)
