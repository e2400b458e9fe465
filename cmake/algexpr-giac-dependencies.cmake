# SPDX-License-Identifier: MIT
# Included by the installed algexprConfig.cmake before the giac component's
# targets (clients/giac passes it to algexpr_add_client as its
# DEPENDENCIES_FILE): the component links, privately, Giac, which its
# targets name when a user links it statically; Giac is found with the find module installed beside this file.
# Sets _algexpr_problem when something is missing.
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
if(NOT TARGET Giac::Giac)
    list(PREPEND CMAKE_MODULE_PATH "${CMAKE_CURRENT_LIST_DIR}")
    find_package(Giac QUIET MODULE)
    list(POP_FRONT CMAKE_MODULE_PATH)
endif()
if(NOT TARGET Giac::Giac)
    set(_algexpr_problem "algexpr's giac component needs Giac, which CMake does not find (install libgiac-dev)")
elseif(NOT TARGET FLINT::FLINT)
    set(_algexpr_problem "algexpr's giac component needs FLINT, which CMake does not find (install libflint-dev)")
elseif(NOT TARGET Arb::Arb)
    set(_algexpr_problem "algexpr's giac component needs Arb, which CMake does not find (install libflint-arb-dev)")
elseif(NOT TARGET Threads::Threads)
    set(_algexpr_problem "algexpr's giac component needs the system's threads library, which CMake does not find")
endif()
