# SPDX-License-Identifier: MIT
# Included by the installed algexprConfig.cmake before the ginac component's
# targets (clients/ginac passes it to algexpr_add_client as its
# DEPENDENCIES_FILE): finds what the component links privately, which its
# targets name when a user links it statically: GiNaC through pkg-config as
# the imported target the build linked, PkgConfig::GINAC, and Threads.
# Sets _algexpr_problem when GiNaC cannot be found.
if(NOT TARGET Threads::Threads)
    find_package(Threads QUIET)
endif()
# FLINT, for the polynomial layer, with the find module installed beside
# this file.
if(NOT TARGET FLINT::FLINT)
    list(PREPEND CMAKE_MODULE_PATH "${CMAKE_CURRENT_LIST_DIR}")
    find_package(FLINT QUIET MODULE)
    list(POP_FRONT CMAKE_MODULE_PATH)
endif()
# Arb, for the check of answers, with its find module beside this file.
if(NOT TARGET Arb::Arb)
    list(PREPEND CMAKE_MODULE_PATH "${CMAKE_CURRENT_LIST_DIR}")
    find_package(Arb QUIET MODULE)
    list(POP_FRONT CMAKE_MODULE_PATH)
endif()
if(NOT TARGET PkgConfig::GINAC)
    find_package(PkgConfig QUIET)
    if(PKG_CONFIG_FOUND)
        pkg_check_modules(GINAC QUIET IMPORTED_TARGET ginac gmp)
    endif()
endif()
if(NOT TARGET PkgConfig::GINAC)
    set(_algexpr_problem "algexpr's ginac component needs GiNaC, which pkg-config does not find (install libginac-dev)")
elseif(NOT TARGET FLINT::FLINT)
    set(_algexpr_problem "algexpr's ginac component needs FLINT, which CMake does not find (install libflint-dev)")
elseif(NOT TARGET Arb::Arb)
    set(_algexpr_problem "algexpr's ginac component needs Arb, which CMake does not find (install libflint-arb-dev)")
elseif(NOT TARGET Threads::Threads)
    set(_algexpr_problem "algexpr's ginac component needs the system's threads library, which CMake does not find")
endif()
