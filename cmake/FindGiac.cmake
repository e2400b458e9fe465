# SPDX-License-Identifier: MIT
# Finds Giac, which ships neither a pkg-config file nor a CMake package:
# its headers under giac/ and its library, and GMP and MPFR, which its
# headers use.
#
#   find_package(Giac)
#   target_link_libraries(app PRIVATE Giac::Giac)
#
# Defines Giac_FOUND, Giac_VERSION (from giac/config.h) and the imported
# target Giac::Giac. The target carries GIAC_GENERIC_CONSTANTS, which the
# library was built with: without it, code that touches Giac's infinities
# crashes. Giac's config.h defines PACKAGE and VERSION, so include it only
# from sources, never from a header others include.
find_path(Giac_INCLUDE_DIR NAMES giac/giac.h)
find_library(Giac_LIBRARY NAMES giac)
find_library(Giac_GMP_LIBRARY NAMES gmp)
find_library(Giac_MPFR_LIBRARY NAMES mpfr)
find_path(Giac_GMP_INCLUDE_DIR NAMES gmp.h)

if(Giac_INCLUDE_DIR AND EXISTS "${Giac_INCLUDE_DIR}/giac/config.h")
    file(STRINGS "${Giac_INCLUDE_DIR}/giac/config.h" _giac_version_line REGEX "^#define VERSION \"[^\"]*\"")
    string(REGEX REPLACE "^#define VERSION \"([^\"]*)\".*" "\\1" Giac_VERSION "${_giac_version_line}")
    unset(_giac_version_line)
endif()

include(FindPackageHandleStandardArgs)
find_package_handle_standard_args(Giac
    REQUIRED_VARS Giac_LIBRARY Giac_INCLUDE_DIR Giac_GMP_LIBRARY Giac_MPFR_LIBRARY Giac_GMP_INCLUDE_DIR
    VERSION_VAR Giac_VERSION)

if(Giac_FOUND AND NOT TARGET Giac::Giac)
    add_library(Giac::Giac UNKNOWN IMPORTED)
    set_target_properties(Giac::Giac PROPERTIES
        IMPORTED_LOCATION "${Giac_LIBRARY}"
        INTERFACE_INCLUDE_DIRECTORIES "${Giac_INCLUDE_DIR};${Giac_GMP_INCLUDE_DIR}"
        INTERFACE_COMPILE_DEFINITIONS GIAC_GENERIC_CONSTANTS
        INTERFACE_LINK_LIBRARIES "${Giac_MPFR_LIBRARY};${Giac_GMP_LIBRARY}")
endif()
mark_as_advanced(Giac_INCLUDE_DIR Giac_LIBRARY Giac_GMP_LIBRARY Giac_MPFR_LIBRARY Giac_GMP_INCLUDE_DIR)
