// SPDX-License-Identifier: MIT
// ALGEXPR_GINAC_API marks the classes that the GiNaC client's shared library
// exports; everything else in it, GiNaC's and CLN's template code included,
// stays hidden. Define ALGEXPR_GINAC_STATIC when linking the static library
// (the CMake target does it for you).
#ifndef ALGEXPR_GINAC_GINAC_EXPORT_H
#define ALGEXPR_GINAC_GINAC_EXPORT_H

#if defined(ALGEXPR_GINAC_STATIC)
#define ALGEXPR_GINAC_API
#elif defined(_WIN32)
#if defined(ALGEXPR_GINAC_BUILDING)
#define ALGEXPR_GINAC_API __declspec(dllexport)
#else
#define ALGEXPR_GINAC_API __declspec(dllimport)
#endif
#else
#define ALGEXPR_GINAC_API __attribute__((visibility("default")))
#endif

#endif
