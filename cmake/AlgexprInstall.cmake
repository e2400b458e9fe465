# SPDX-License-Identifier: MIT
# cmake --install: headers, the library, a CMake package (find_package(algexpr))
# and a pkg-config file. Each client installs itself as a component
# (AlgexprClient.cmake); this file comes after them, since the package config
# names every component and why any is missing.
include(CMakePackageConfigHelpers)
include(GNUInstallDirs)

install(TARGETS algexpr EXPORT algexprTargets
    LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR}
    ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR}
    RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(DIRECTORY include/ DESTINATION ${CMAKE_INSTALL_INCLUDEDIR})
install(FILES ${PROJECT_SOURCE_DIR}/LICENSE DESTINATION ${CMAKE_INSTALL_DOCDIR})
# The guide and the programs its steps show, beside the license.
install(FILES ${PROJECT_SOURCE_DIR}/docs/guide.md DESTINATION ${CMAKE_INSTALL_DOCDIR})
# A newcomer builds them from there against the installed package with the
# CMakeLists.txt of examples/installed/.
install(DIRECTORY ${PROJECT_SOURCE_DIR}/examples/guide/ DESTINATION ${CMAKE_INSTALL_DOCDIR}/examples
    FILES_MATCHING PATTERN "*.cpp" PATTERN "*.h")
install(FILES ${PROJECT_SOURCE_DIR}/examples/installed/CMakeLists.txt DESTINATION ${CMAKE_INSTALL_DOCDIR}/examples)

install(EXPORT algexprTargets NAMESPACE algexpr:: DESTINATION ${ALGEXPR_PACKAGE_DIR})

get_property(built GLOBAL PROPERTY ALGEXPR_CLIENTS)
get_property(unavailable GLOBAL PROPERTY ALGEXPR_UNAVAILABLE_CLIENTS)
set(ALGEXPR_ALL_CLIENTS ${built} ${unavailable})
list(SORT ALGEXPR_ALL_CLIENTS)
set(ALGEXPR_UNAVAILABLE_CODE "")
foreach(client IN LISTS unavailable)
    get_property(reason GLOBAL PROPERTY ALGEXPR_UNAVAILABLE_REASON_${client})
    string(APPEND ALGEXPR_UNAVAILABLE_CODE "set(_algexpr_unavailable_${client} [==[${reason}]==])\n")
endforeach()
configure_package_config_file(cmake/algexprConfig.cmake.in
    ${PROJECT_BINARY_DIR}/algexprConfig.cmake INSTALL_DESTINATION ${ALGEXPR_PACKAGE_DIR})
write_basic_package_version_file(${PROJECT_BINARY_DIR}/algexprConfigVersion.cmake
    COMPATIBILITY SameMajorVersion)
install(FILES ${PROJECT_BINARY_DIR}/algexprConfig.cmake ${PROJECT_BINARY_DIR}/algexprConfigVersion.cmake
    DESTINATION ${ALGEXPR_PACKAGE_DIR})

if(BUILD_SHARED_LIBS)
    set(ALGEXPR_PC_CFLAGS "")
else()
    set(ALGEXPR_PC_CFLAGS " -DALGEXPR_STATIC")
endif()
configure_file(cmake/algexpr.pc.in ${PROJECT_BINARY_DIR}/algexpr.pc @ONLY)
install(FILES ${PROJECT_BINARY_DIR}/algexpr.pc DESTINATION ${CMAKE_INSTALL_LIBDIR}/pkgconfig)
