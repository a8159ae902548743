# cpack -G DEB (in the build folder), or cmake --build build --target package:
# the Debian package tqlm-xmlgen with the runtime component (the tool, its
# man page, its bash completion, the copyright file), its dependencies read
# by dpkg-shlibdeps from the libraries the tool links.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME tqlm-xmlgen)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "writes the XML documents of a migration profile for the conversion engine")
string(CONCAT CPACK_PACKAGE_DESCRIPTION
       "tqlm-xmlgen reads one migration profile from a repository database (a SQLite\n"
       "file, or PostgreSQL or SQL Server through ODBC) and writes, for every selected\n"
       "target table, the XML document that the conversion engine executes.")
set(TQLM_PACKAGE_CONTACT "tqlm-xmlgen developers" CACHE STRING "The Debian package's Maintainer field")
set(CPACK_PACKAGE_CONTACT ${TQLM_PACKAGE_CONTACT})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_COMPONENTS_ALL runtime)
set(CPACK_COMPONENTS_GROUPING ALL_COMPONENTS_IN_ONE)
set(CPACK_DEBIAN_PACKAGE_NAME tqlm-xmlgen)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# A repository on a server needs the server's ODBC driver as well.
set(CPACK_DEBIAN_PACKAGE_SUGGESTS "odbc-postgresql, tdsodbc")
set(CPACK_PACKAGE_DIRECTORY ${CMAKE_BINARY_DIR}/package)
include(CPack)
