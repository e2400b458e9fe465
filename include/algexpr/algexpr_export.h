// SPDX-License-Identifier: MIT
// ALGEXPR_API marks the classes that the shared library exports; everything
// else in the library is hidden. Define ALGEXPR_STATIC when linking the static
// library (the CMake target does it for you).
#ifndef ALGEXPR_ALGEXPR_EXPORT_H
#define ALGEXPR_ALGEXPR_EXPORT_H

#if defined(ALGEXPR_STATIC)
#define ALGEXPR_API
#elif defined(_WIN32)
#if defined(ALGEXPR_BUILDING)
#define ALGEXPR_API __declspec(dllexport)
#else
#define ALGEXPR_API __declspec(dllimport)
#endif
#else
#define ALGEXPR_API __attribute__((visibility("default")))
#endif

#endif
