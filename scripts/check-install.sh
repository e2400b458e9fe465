#!/usr/bin/env bash
# Installs algexpr into a temporary prefix and builds and runs a small
# consumer three ways: find_package, pkg-config, and add_subdirectory. Also
# checks the installed library's exported symbols.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

cmake -S "$root" -B "$work/build" -DCMAKE_BUILD_TYPE=Release -DALGEXPR_BUILD_TESTS=OFF \
    -DALGEXPR_BUILD_TOOLS=OFF -DALGEXPR_BUILD_EXAMPLES=OFF -DCMAKE_INSTALL_PREFIX="$work/prefix" >/dev/null
cmake --build "$work/build" -j2 >/dev/null
cmake --install "$work/build" >/dev/null
library=$(ls "$work"/prefix/lib*/libalgexpr.so.1)
"$root/scripts/check-symbols.sh" "$library"

echo "-- find_package"
cmake -S "$root/tests/consumer" -B "$work/find" -DCMAKE_PREFIX_PATH="$work/prefix" >/dev/null
cmake --build "$work/find" >/dev/null
LD_LIBRARY_PATH=$(dirname "$library") "$work/find/consumer"

echo "-- pkg-config"
export PKG_CONFIG_PATH
PKG_CONFIG_PATH=$(dirname "$library")/pkgconfig
# shellcheck disable=SC2046
g++ -std=c++17 "$root/tests/consumer/main.cpp" $(pkg-config --cflags --libs algexpr) -o "$work/pc-consumer"
LD_LIBRARY_PATH=$(dirname "$library") "$work/pc-consumer"

echo "-- add_subdirectory"
cmake -S "$root/tests/consumer" -B "$work/sub" -DALGEXPR_SOURCE_DIR="$root" >/dev/null
cmake --build "$work/sub" -j2 >/dev/null
"$work/sub/consumer"

echo "-- add_subdirectory: the embedding project's BUILD_SHARED_LIBS, ON and OFF"
# The embedding project sets the variable before add_subdirectory(); algexpr
# must be built as it says, and the consumer must link and run either way.
for shared in ON OFF; do
    embed="$work/embed-$shared"
    mkdir -p "$embed"
    cat >"$embed/CMakeLists.txt" <<END
cmake_minimum_required(VERSION 3.25)
project(embedding LANGUAGES CXX)
set(BUILD_SHARED_LIBS $shared)
add_subdirectory("$root" algexpr)
add_executable(consumer "$root/tests/consumer/main.cpp")
target_link_libraries(consumer PRIVATE algexpr::algexpr)
END
    cmake -S "$embed" -B "$embed/build" -DCMAKE_BUILD_TYPE=Release >/dev/null
    cmake --build "$embed/build" -j2 >/dev/null
    "$embed/build/consumer"
    if ldd "$embed/build/consumer" | grep -q libalgexpr; then linked=ON; else linked=OFF; fi
    if [ "$linked" != "$shared" ]; then
        echo "BUILD_SHARED_LIBS $shared in the embedding project, but the consumer links algexpr" \
            "$([ "$linked" = ON ] && echo dynamically || echo statically)" >&2
        exit 1
    fi
    echo "BUILD_SHARED_LIBS $shared: honoured"
done
