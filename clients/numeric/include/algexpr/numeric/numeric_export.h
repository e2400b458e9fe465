// SPDX-License-Identifier: MIT
// ALGEXPR_NUMERIC_API marks the classes that the numeric client's shared
// library exports; everything else in it is hidden. Define
// ALGEXPR_NUMERIC_STATIC when linking the static library (the CMake target
// and the pkg-config module do it for you).
#ifndef ALGEXPR_NUMERIC_NUMERIC_EXPORT_H
#define ALGEXPR_NUMERIC_NUMERIC_EXPORT_H

#if defined(ALGEXPR_NUMERIC_STATIC)
#define ALGEXPR_NUMERIC_API
#elif defined(_WIN32)
#if defined(ALGEXPR_NUMERIC_BUILDING)
#define ALGEXPR_NUMERIC_API __declspec(dllexport)
#else
#define ALGEXPR_NUMERIC_API __declspec(dllimport)
#endif
#else
#define ALGEXPR_NUMERIC_API __attribute__((visibility("default")))
#endif

#endif
