#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Builds algexpr and its tests with g++ --coverage, runs the tests, and reports
# the line and branch coverage of src/ with gcovr (branches that only an
# exception or unreachable code would take left out).
#
#   scripts/coverage.sh [build-dir] [gcovr options...]     (build-dir: ./build-coverage)
#
# e.g. scripts/coverage.sh /tmp/cov --html-details /tmp/cov/index.html
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
build=$(realpath -m "${1:-$root/build-coverage}")
shift $(($# > 0 ? 1 : 0))

# Atomic counters: the thread tests run the library on several threads at
# once, and counters that threads race on come out wrong (even negative).
cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_COMPILER=g++ \
    "-DCMAKE_CXX_FLAGS=--coverage -fprofile-update=atomic" >/dev/null
cmake --build "$build" -j2
find "$build" -name '*.gcda' -delete
ctest --test-dir "$build" -j2 --output-on-failure >"$build/ctest.log" || { cat "$build/ctest.log"; exit 1; }
tail -n 3 "$build/ctest.log"

gcovr=(gcovr --root "$root" --filter "$root/src/" --exclude-throw-branches --exclude-unreachable-branches
       --object-directory "$build" --exclude-directories '.*/CompilerIdCXX')
"${gcovr[@]}" "$build"
"${gcovr[@]}" --branches --print-summary "$@" "$build"
