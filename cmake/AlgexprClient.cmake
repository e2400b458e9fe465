# SPDX-License-Identifier: MIT
# The ready-made clients under clients/<name>/: libraries of their own, built
# like the library and installed as components of the algexpr package.
#
#   clients/<name>/include/algexpr/<name>.h         umbrella header
#   clients/<name>/include/algexpr/<name>/*.h       one class each, namespace
#                                                   qorv::math::algexpr::<name>,
#                                                   with <name>_export.h giving
#                                                   ALGEXPR_<NAME>_API
#   clients/<name>/src/*.cpp
#
# A client's CMakeLists.txt calls algexpr_add_client(); clients/CMakeLists.txt
# calls algexpr_client_unavailable() for a client it cannot build, so that the
# installed package can say why it lacks that component.

include(GNUInstallDirs)

# Where the CMake package goes, for the library and every component.
set(ALGEXPR_PACKAGE_DIR ${CMAKE_INSTALL_LIBDIR}/cmake/algexpr)

# The prefix as the pkg-config files name it: relative to where they are
# installed, so that an installation made with --prefix or moved works.
if(IS_ABSOLUTE "${CMAKE_INSTALL_LIBDIR}")
    set(ALGEXPR_PC_PREFIX "${CMAKE_INSTALL_PREFIX}")
else()
    file(RELATIVE_PATH ALGEXPR_PC_PREFIX "/prefix/${CMAKE_INSTALL_LIBDIR}/pkgconfig" "/prefix")
    string(REGEX REPLACE "/$" "" ALGEXPR_PC_PREFIX "${ALGEXPR_PC_PREFIX}")
    set(ALGEXPR_PC_PREFIX "\${pcfiledir}/${ALGEXPR_PC_PREFIX}")
endif()

# algexpr_add_client(<name> SOURCES <file>...
#                    [DESCRIPTION <text>]
#                    [DEPENDENCIES_FILE <file>]
#                    [PKG_CONFIG_REQUIRES <module>...]
#                    [PKG_CONFIG_REQUIRES_PUBLIC <module>...]
#                    [PKG_CONFIG_LIBS <flag>...])
#
# Defines the library algexpr_<name> with the alias algexpr::<name>, from the
# calling directory: shared unless BUILD_SHARED_LIBS is off, hidden visibility
# (ALGEXPR_<NAME>_BUILDING while building it, ALGEXPR_<NAME>_STATIC for users
# of the static library), the project's version and SOVERSION, and a linker
# version script that exports its namespace only. When algexpr is embedded
# with add_subdirectory(), the library is left out of the default build until
# something links it.
#
# With ALGEXPR_INSTALL it is installed as the package component <name>:
# headers, library, CMake targets (algexpr-<name>-targets.cmake) and the
# pkg-config module algexpr-<name>. A component whose users need more than the
# library (a third-party library its static form links, say) names:
#   DEPENDENCIES_FILE    a CMake file that the package config includes before
#                        the component's targets; it finds what the component
#                        needs, and sets _algexpr_problem to a sentence when
#                        something is missing, which fails that component;
#   PKG_CONFIG_REQUIRES  the pkg-config modules the component's module needs
#                        when linked statically (privately linked libraries);
#   PKG_CONFIG_REQUIRES_PUBLIC  those it always needs (libraries of ours it
#                        links publicly, such as another component);
#   PKG_CONFIG_LIBS      linker flags for the privately linked libraries that
#                        have no pkg-config module (FLINT, Giac), given as
#                        PKG_CONFIG_REQUIRES are.
function(algexpr_add_client name)
    cmake_parse_arguments(PARSE_ARGV 1 ARG "" "DESCRIPTION;DEPENDENCIES_FILE"
        "SOURCES;PKG_CONFIG_REQUIRES;PKG_CONFIG_REQUIRES_PUBLIC;PKG_CONFIG_LIBS")
    set(target algexpr_${name})
    string(TOUPPER "${name}" upper)

    add_library(${target} ${ARG_SOURCES})
    add_library(algexpr::${name} ALIAS ${target})
    target_compile_features(${target} PUBLIC cxx_std_17)
    target_include_directories(${target}
        PUBLIC
            $<BUILD_INTERFACE:${CMAKE_CURRENT_SOURCE_DIR}/include>
            $<INSTALL_INTERFACE:${CMAKE_INSTALL_INCLUDEDIR}>
        PRIVATE
            ${CMAKE_CURRENT_SOURCE_DIR}/src)
    target_link_libraries(${target} PUBLIC algexpr::algexpr)
    target_compile_definitions(${target} PRIVATE ALGEXPR_${upper}_BUILDING)
    if(NOT BUILD_SHARED_LIBS)
        target_compile_definitions(${target} PUBLIC ALGEXPR_${upper}_STATIC)
    endif()
    set_target_properties(${target} PROPERTIES
        EXPORT_NAME ${name}
        CXX_EXTENSIONS OFF
        CXX_VISIBILITY_PRESET hidden
        VISIBILITY_INLINES_HIDDEN ON
        VERSION ${PROJECT_VERSION}
        SOVERSION ${PROJECT_VERSION_MAJOR}
        # Installed, it finds the library (and any client it links) beside
        # itself, so that a program linked with it starts without
        # LD_LIBRARY_PATH.
        INSTALL_RPATH "$ORIGIN")
    if(BUILD_SHARED_LIBS AND CMAKE_CXX_COMPILER_ID MATCHES "GNU|Clang")
        # The namespace qorv::math::algexpr::<name>, mangled: N4qorv4math7algexpr<length><name>.
        string(LENGTH "${name}" length)
        set(ALGEXPR_CLIENT ${name})
        set(ALGEXPR_CLIENT_MANGLED "N4qorv4math7algexpr${length}${name}")
        set(map ${CMAKE_CURRENT_BINARY_DIR}/${target}.map)
        configure_file(${PROJECT_SOURCE_DIR}/cmake/algexpr-client.map.in ${map} @ONLY)
        target_link_options(${target} PRIVATE "LINKER:--version-script=${map}")
        set_property(TARGET ${target} APPEND PROPERTY LINK_DEPENDS ${map})
    endif()
    algexpr_target_options(${target})
    if(NOT PROJECT_IS_TOP_LEVEL AND NOT ALGEXPR_INSTALL)
        set_property(TARGET ${target} PROPERTY EXCLUDE_FROM_ALL ON)
    endif()
    set_property(GLOBAL APPEND PROPERTY ALGEXPR_CLIENTS ${name})

    if(NOT ALGEXPR_INSTALL)
        return()
    endif()
    install(TARGETS ${target} EXPORT algexpr_${name}Targets
        LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR}
        ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR}
        RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
    install(DIRECTORY include/ DESTINATION ${CMAKE_INSTALL_INCLUDEDIR})
    install(EXPORT algexpr_${name}Targets NAMESPACE algexpr:: FILE algexpr-${name}-targets.cmake
        DESTINATION ${ALGEXPR_PACKAGE_DIR})
    if(ARG_DEPENDENCIES_FILE)
        install(FILES ${ARG_DEPENDENCIES_FILE} DESTINATION ${ALGEXPR_PACKAGE_DIR}
            RENAME algexpr-${name}-dependencies.cmake)
    endif()

    # pkg-config: a shared client needs its modules only when linked
    # statically, a static one always.
    set(ALGEXPR_CLIENT ${name})
    set(ALGEXPR_CLIENT_DESCRIPTION "${ARG_DESCRIPTION}")
    set(ALGEXPR_CLIENT_PC_REQUIRES "")
    set(ALGEXPR_CLIENT_PC_PRIVATE "")
    set(ALGEXPR_CLIENT_PC_CFLAGS "")
    set(ALGEXPR_CLIENT_PC_LIBS "")
    set(ALGEXPR_CLIENT_PC_LIBS_PRIVATE "")
    list(JOIN ARG_PKG_CONFIG_REQUIRES ", " modules)
    list(JOIN ARG_PKG_CONFIG_LIBS " " libs)
    foreach(module IN LISTS ARG_PKG_CONFIG_REQUIRES_PUBLIC)
        string(APPEND ALGEXPR_CLIENT_PC_REQUIRES ", ${module} = ${PROJECT_VERSION}")
    endforeach()
    if(BUILD_SHARED_LIBS)
        if(modules)
            set(ALGEXPR_CLIENT_PC_PRIVATE "Requires.private: ${modules}\n")
        endif()
        if(libs)
            set(ALGEXPR_CLIENT_PC_LIBS_PRIVATE "Libs.private: ${libs}\n")
        endif()
    else()
        if(modules)
            string(APPEND ALGEXPR_CLIENT_PC_REQUIRES ", ${modules}")
        endif()
        if(libs)
            set(ALGEXPR_CLIENT_PC_LIBS " ${libs}")
        endif()
        set(ALGEXPR_CLIENT_PC_CFLAGS " -DALGEXPR_${upper}_STATIC")
    endif()
    configure_file(${PROJECT_SOURCE_DIR}/cmake/algexpr-client.pc.in ${PROJECT_BINARY_DIR}/algexpr-${name}.pc @ONLY)
    install(FILES ${PROJECT_BINARY_DIR}/algexpr-${name}.pc DESTINATION ${CMAKE_INSTALL_LIBDIR}/pkgconfig)
endfunction()

# algexpr_client_unavailable(<name> <reason>)
#
# Records that the client <name> is not built, and why ("libginac-dev was not
# found at build time"): asking the installed package for that component then
# fails with "algexpr was built without the <name> component: <reason>".
function(algexpr_client_unavailable name reason)
    set_property(GLOBAL APPEND PROPERTY ALGEXPR_UNAVAILABLE_CLIENTS ${name})
    set_property(GLOBAL PROPERTY ALGEXPR_UNAVAILABLE_REASON_${name} "${reason}")
endfunction()
