# cmake --install: headers, the library, a CMake package (find_package(algexpr))
# and a pkg-config file.
include(CMakePackageConfigHelpers)
include(GNUInstallDirs)

install(TARGETS algexpr EXPORT algexprTargets
    LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR}
    ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR}
    RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(DIRECTORY include/ DESTINATION ${CMAKE_INSTALL_INCLUDEDIR})

set(config_dir ${CMAKE_INSTALL_LIBDIR}/cmake/algexpr)
install(EXPORT algexprTargets NAMESPACE algexpr:: DESTINATION ${config_dir})
configure_package_config_file(cmake/algexprConfig.cmake.in
    ${PROJECT_BINARY_DIR}/algexprConfig.cmake INSTALL_DESTINATION ${config_dir})
write_basic_package_version_file(${PROJECT_BINARY_DIR}/algexprConfigVersion.cmake
    COMPATIBILITY SameMajorVersion)
install(FILES ${PROJECT_BINARY_DIR}/algexprConfig.cmake ${PROJECT_BINARY_DIR}/algexprConfigVersion.cmake
    DESTINATION ${config_dir})

if(BUILD_SHARED_LIBS)
    set(ALGEXPR_PC_CFLAGS "")
else()
    set(ALGEXPR_PC_CFLAGS " -DALGEXPR_STATIC")
endif()
configure_file(cmake/algexpr.pc.in ${PROJECT_BINARY_DIR}/algexpr.pc @ONLY)
install(FILES ${PROJECT_BINARY_DIR}/algexpr.pc DESTINATION ${CMAKE_INSTALL_LIBDIR}/pkgconfig)
