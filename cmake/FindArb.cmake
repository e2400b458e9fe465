# SPDX-License-Identifier: MIT
# Finds Arb (ball arithmetic over FLINT), which Debian ships as
# libflint-arb-dev without a pkg-config file or a CMake package: its headers
# arb.h and acb.h and the library flint-arb, which needs FLINT.
#
#   find_package(Arb)
#   target_link_libraries(app PRIVATE Arb::Arb)
#
# Defines Arb_FOUND, Arb_VERSION (from arb.h) and the imported target Arb::Arb.
find_path(Arb_INCLUDE_DIR NAMES arb.h acb.h PATH_SUFFIXES arb)
find_library(Arb_LIBRARY NAMES flint-arb arb)
if(NOT TARGET FLINT::FLINT)
    find_package(FLINT QUIET MODULE)
endif()

if(Arb_INCLUDE_DIR AND EXISTS "${Arb_INCLUDE_DIR}/arb.h")
    file(STRINGS "${Arb_INCLUDE_DIR}/arb.h" _arb_line REGEX "^#define __ARB_VERSION [0-9]+")
    string(REGEX REPLACE "^#define __ARB_VERSION ([0-9]+).*" "\\1" _arb_major "${_arb_line}")
    file(STRINGS "${Arb_INCLUDE_DIR}/arb.h" _arb_line REGEX "^#define __ARB_VERSION_MINOR [0-9]+")
    string(REGEX REPLACE "^#define __ARB_VERSION_MINOR ([0-9]+).*" "\\1" _arb_minor "${_arb_line}")
    set(Arb_VERSION "${_arb_major}.${_arb_minor}")
    unset(_arb_line)
    unset(_arb_major)
    unset(_arb_minor)
endif()

include(FindPackageHandleStandardArgs)
find_package_handle_standard_args(Arb
    REQUIRED_VARS Arb_LIBRARY Arb_INCLUDE_DIR FLINT_FOUND
    VERSION_VAR Arb_VERSION)

if(Arb_FOUND AND NOT TARGET Arb::Arb)
    add_library(Arb::Arb UNKNOWN IMPORTED)
    set_target_properties(Arb::Arb PROPERTIES
        IMPORTED_LOCATION "${Arb_LIBRARY}"
        INTERFACE_INCLUDE_DIRECTORIES "${Arb_INCLUDE_DIR}"
        INTERFACE_LINK_LIBRARIES FLINT::FLINT)
endif()
mark_as_advanced(Arb_INCLUDE_DIR Arb_LIBRARY)
