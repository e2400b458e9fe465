// SPDX-License-Identifier: MIT
// ALGEXPR_GIAC_API marks the classes that the Giac client's shared library
// exports; everything else in it stays hidden. Define ALGEXPR_GIAC_STATIC
// when linking the static library (the CMake target does it for you).
#ifndef ALGEXPR_GIAC_GIAC_EXPORT_H
#define ALGEXPR_GIAC_GIAC_EXPORT_H

#if defined(ALGEXPR_GIAC_STATIC)
#define ALGEXPR_GIAC_API
#elif defined(_WIN32)
#if defined(ALGEXPR_GIAC_BUILDING)
#define ALGEXPR_GIAC_API __declspec(dllexport)
#else
#define ALGEXPR_GIAC_API __declspec(dllimport)
#endif
#else
#define ALGEXPR_GIAC_API __attribute__((visibility("default")))
#endif

#endif
