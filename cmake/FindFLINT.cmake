# SPDX-License-Identifier: MIT
# Finds FLINT, which Debian ships without a pkg-config file or a CMake
# package: its headers under flint/ and its library, and GMP and MPFR, which
# it needs.
#
#   find_package(FLINT)
#   target_link_libraries(app PRIVATE FLINT::FLINT)
#
# Defines FLINT_FOUND, FLINT_VERSION (from flint/flint.h) and the imported
# target FLINT::FLINT.
find_path(FLINT_INCLUDE_DIR NAMES flint/flint.h)
find_library(FLINT_LIBRARY NAMES flint)
find_library(FLINT_GMP_LIBRARY NAMES gmp)
find_library(FLINT_MPFR_LIBRARY NAMES mpfr)

if(FLINT_INCLUDE_DIR AND EXISTS "${FLINT_INCLUDE_DIR}/flint/flint.h")
    set(FLINT_VERSION "")
    foreach(_flint_part VERSION VERSION_MINOR VERSION_PATCHLEVEL)
        file(STRINGS "${FLINT_INCLUDE_DIR}/flint/flint.h" _flint_line REGEX "^#define __FLINT_${_flint_part} [0-9]+")
        string(REGEX REPLACE "^#define __FLINT_${_flint_part} ([0-9]+).*" "\\1" _flint_number "${_flint_line}")
        string(APPEND FLINT_VERSION "${_flint_number}.")
    endforeach()
    string(REGEX REPLACE "\\.$" "" FLINT_VERSION "${FLINT_VERSION}")
    unset(_flint_line)
    unset(_flint_number)
    unset(_flint_part)
endif()

include(FindPackageHandleStandardArgs)
find_package_handle_standard_args(FLINT
    REQUIRED_VARS FLINT_LIBRARY FLINT_INCLUDE_DIR FLINT_GMP_LIBRARY FLINT_MPFR_LIBRARY
    VERSION_VAR FLINT_VERSION)

if(FLINT_FOUND AND NOT TARGET FLINT::FLINT)
    add_library(FLINT::FLINT UNKNOWN IMPORTED)
    set_target_properties(FLINT::FLINT PROPERTIES
        IMPORTED_LOCATION "${FLINT_LIBRARY}"
        INTERFACE_INCLUDE_DIRECTORIES "${FLINT_INCLUDE_DIR}"
        INTERFACE_LINK_LIBRARIES "${FLINT_MPFR_LIBRARY};${FLINT_GMP_LIBRARY}")
endif()
mark_as_advanced(FLINT_INCLUDE_DIR FLINT_LIBRARY FLINT_GMP_LIBRARY FLINT_MPFR_LIBRARY)
