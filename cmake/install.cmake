# What cmake --install puts where, in two components: runtime (the tool, its
# man page, its bash completion, the copyright file; the Debian package holds
# these) and development (the static libraries, the public headers, the CMake
# package tqlm and the pkg-config file tqlm.pc).
include(GNUInstallDirs)
include(CMakePackageConfigHelpers)

# The public headers: include/tqlm, all of it, installed as <tqlm/...>,
# which is what a program that uses the library includes.
set(TQLM_HEADER_INSTALL_DIR ${CMAKE_INSTALL_INCLUDEDIR})
install(DIRECTORY ${PROJECT_SOURCE_DIR}/include/tqlm DESTINATION ${TQLM_HEADER_INSTALL_DIR} COMPONENT development
        FILES_MATCHING PATTERN "*.h")

# The libraries stay three static ones, a layer each; tqlm::xmlgen brings the
# other two and their dependencies.
set_target_properties(tqlm_platform PROPERTIES EXPORT_NAME platform)
set_target_properties(tqlm_repository PROPERTIES EXPORT_NAME repository)
set_target_properties(tqlm_xmlgen PROPERTIES EXPORT_NAME xmlgen)
target_include_directories(tqlm_platform INTERFACE $<INSTALL_INTERFACE:${TQLM_HEADER_INSTALL_DIR}>)
install(TARGETS tqlm_platform tqlm_repository tqlm_xmlgen EXPORT tqlmTargets
        ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR} COMPONENT development)

set(TQLM_CMAKE_INSTALL_DIR ${CMAKE_INSTALL_LIBDIR}/cmake/tqlm)
install(EXPORT tqlmTargets NAMESPACE tqlm:: DESTINATION ${TQLM_CMAKE_INSTALL_DIR} COMPONENT development)
configure_package_config_file(cmake/tqlmConfig.cmake.in ${CMAKE_BINARY_DIR}/tqlmConfig.cmake
                              INSTALL_DESTINATION ${TQLM_CMAKE_INSTALL_DIR})
# Before 1.0 a new minor version may change the classes' members.
write_basic_package_version_file(${CMAKE_BINARY_DIR}/tqlmConfigVersion.cmake COMPATIBILITY SameMinorVersion)
install(FILES ${CMAKE_BINARY_DIR}/tqlmConfig.cmake ${CMAKE_BINARY_DIR}/tqlmConfigVersion.cmake
              cmake/odbcinst.cmake
        DESTINATION ${TQLM_CMAKE_INSTALL_DIR} COMPONENT development)

# The pkg-config file finds the prefix from its own folder, so that the
# installed tree may move.
file(RELATIVE_PATH TQLM_PC_TO_PREFIX /prefix/${CMAKE_INSTALL_LIBDIR}/pkgconfig /prefix)
string(REGEX REPLACE "/$" "" TQLM_PC_TO_PREFIX "${TQLM_PC_TO_PREFIX}")
configure_file(cmake/tqlm.pc.in ${CMAKE_BINARY_DIR}/tqlm.pc @ONLY)
install(FILES ${CMAKE_BINARY_DIR}/tqlm.pc DESTINATION ${CMAKE_INSTALL_LIBDIR}/pkgconfig COMPONENT development)

# The tool and what goes with it.
install(TARGETS tqlm-xmlgen RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR} COMPONENT runtime)
configure_file(dist/tqlm-xmlgen.1.in ${CMAKE_BINARY_DIR}/tqlm-xmlgen.1 @ONLY)
add_custom_command(OUTPUT ${CMAKE_BINARY_DIR}/tqlm-xmlgen.1.gz
                   COMMAND gzip -9 -n -f -k ${CMAKE_BINARY_DIR}/tqlm-xmlgen.1
                   DEPENDS ${CMAKE_BINARY_DIR}/tqlm-xmlgen.1 VERBATIM)
add_custom_target(man_page ALL DEPENDS ${CMAKE_BINARY_DIR}/tqlm-xmlgen.1.gz)
install(FILES ${CMAKE_BINARY_DIR}/tqlm-xmlgen.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1 COMPONENT runtime)
install(FILES dist/tqlm-xmlgen.bash-completion DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/bash-completion/completions
        RENAME tqlm-xmlgen COMPONENT runtime)
install(FILES dist/copyright DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/doc/tqlm-xmlgen COMPONENT runtime)
