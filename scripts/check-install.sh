#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Installs algexpr into a temporary prefix and builds and runs a small
# consumer three ways: find_package, pkg-config, and add_subdirectory (and
# the guide's programs from their installed folder); the
# same for the ginac component when GiNaC is there, and for the giac
# component when Giac is. Also checks the installed
# libraries' exported symbols, builds and runs the README's quick start
# against the installed numeric component (CMake and pkg-config) and
# embedded, and checks what asking for a missing component says. Last, a
# build without GiNaC and Giac: the tool has the numeric engine only and says
# so, and the package says why it lacks the ginac and giac components. The package's LICENSE
# is checked first.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

cmake -S "$root" -B "$work/build" -DCMAKE_BUILD_TYPE=Release -DALGEXPR_BUILD_TESTS=OFF \
    -DALGEXPR_BUILD_TOOLS=ON -DALGEXPR_BUILD_EXAMPLES=OFF -DCMAKE_INSTALL_PREFIX="$work/prefix" >/dev/null
cmake --build "$work/build" -j2 >/dev/null
cmake --install "$work/build" >/dev/null
library=$(ls "$work"/prefix/lib*/libalgexpr.so.2)
if ! cmp -s "$root/LICENSE" "$work/prefix/share/doc/algexpr/LICENSE"; then
    echo "cmake --install did not put LICENSE in share/doc/algexpr/" >&2
    exit 1
fi
if [ ! -f "$work/prefix/share/doc/algexpr/guide.md" ] || [ ! -f "$work/prefix/share/doc/algexpr/examples/01_session.cpp" ]; then
    echo "cmake --install did not put the guide and its examples in share/doc/algexpr/" >&2
    exit 1
fi
echo "-- LICENSE, the guide and its examples installed in share/doc/algexpr/"
libdir=$(dirname "$library")

# The guide's programs as a newcomer builds them: from share/doc, against the
# installed package, each printing what the guide shows.
cmake -S "$work/prefix/share/doc/algexpr/examples" -B "$work/guide" -DCMAKE_PREFIX_PATH="$work/prefix" >/dev/null
cmake --build "$work/guide" -j2 >/dev/null
for program in "$work"/guide/[0-9][0-9]_*; do
    [ -x "$program" ] || continue
    cmake -DPROGRAM="$program" -DSOURCE="$(basename "$program").cpp" -DGUIDE="$root/docs/guide.md" \
        -DEXAMPLES="$root/examples/guide" -P "$root/examples/CompareWithGuide.cmake" >/dev/null
done
echo "-- the guide's programs build from share/doc/algexpr/examples and print what the guide shows"

# The tool, as the README's tour calls it: from bin/, finding its libraries
# by itself (no LD_LIBRARY_PATH), with its default engine.
installed_tool=$work/prefix/bin/algexpr
got=$(env -u LD_LIBRARY_PATH "$installed_tool" eval 'plus(divide(1,3),divide(1,6))')
expected_sum="divide(1,2)"
if grep -q "without GiNaC" <<<"$("$installed_tool" --version)"; then
    expected_sum=0.5  # the numeric engine
fi
if [ "$got" != "$expected_sum" ]; then
    echo "the installed tool printed '$got' for plus(divide(1,3),divide(1,6))" >&2
    exit 1
fi
echo "-- the tool installed in bin/: algexpr eval gives $got"
"$root/scripts/check-symbols.sh" "$library"
for client in "$libdir"/libalgexpr_*.so.2; do
    "$root/scripts/check-symbols.sh" "$client"
done

echo "-- find_package"
cmake -S "$root/tests/consumer" -B "$work/find" -DCMAKE_PREFIX_PATH="$work/prefix" >/dev/null
cmake --build "$work/find" >/dev/null
LD_LIBRARY_PATH=$libdir "$work/find/consumer"

echo "-- pkg-config"
export PKG_CONFIG_PATH
PKG_CONFIG_PATH=$libdir/pkgconfig
# shellcheck disable=SC2046
g++ -std=c++17 "$root/tests/consumer/main.cpp" $(pkg-config --cflags --libs algexpr) -o "$work/pc-consumer"
LD_LIBRARY_PATH=$libdir "$work/pc-consumer"

echo "-- add_subdirectory"
cmake -S "$root/tests/consumer" -B "$work/sub" -DALGEXPR_SOURCE_DIR="$root" >/dev/null
cmake --build "$work/sub" -j2 >/dev/null
"$work/sub/consumer"
# Embedded, a client is built only for a target that links it.
if [ -n "$(find "$work/sub" -name 'libalgexpr_*')" ]; then
    echo "add_subdirectory built a client that nothing links" >&2
    exit 1
fi

# ---- The ginac component ----------------------------------------------------
if [ -e "$libdir/cmake/algexpr/algexpr-ginac-targets.cmake" ]; then
    echo "-- find_package(algexpr REQUIRED COMPONENTS ginac)"
    cmake -S "$root/tests/consumer" -B "$work/find-ginac" -DALGEXPR_CONSUMER_GINAC=ON \
        -DCMAKE_PREFIX_PATH="$work/prefix" >/dev/null
    cmake --build "$work/find-ginac" >/dev/null
    # The component finds its own dependencies (its RUNPATH is $ORIGIN): a
    # program built with find_package starts without LD_LIBRARY_PATH.
    env -u LD_LIBRARY_PATH "$work/find-ginac/ginac_consumer"

    echo "-- pkg-config algexpr-ginac"
    # shellcheck disable=SC2046
    g++ -std=c++17 "$root/tests/consumer/ginac.cpp" $(pkg-config --cflags --libs algexpr-ginac) \
        -o "$work/pc-ginac-consumer"
    LD_LIBRARY_PATH=$libdir "$work/pc-ginac-consumer"
    # Linked statically, the client needs FLINT, which has no module of its own.
    pkg-config --static --libs algexpr-ginac | grep -q -- '-lflint' ||
        { echo "pkg-config --static --libs algexpr-ginac lacks -lflint" >&2; exit 1; }

    echo "-- add_subdirectory, linking algexpr::ginac"
    cmake -S "$root/tests/consumer" -B "$work/sub-ginac" -DALGEXPR_SOURCE_DIR="$root" \
        -DALGEXPR_CONSUMER_GINAC=ON >/dev/null
    cmake --build "$work/sub-ginac" -j2 >/dev/null
    "$work/sub-ginac/ginac_consumer"
    if [ -n "$(find "$work/sub-ginac" -name 'libalgexpr_numeric*')" ]; then
        echo "add_subdirectory built the numeric client, which nothing links" >&2
        exit 1
    fi
else
    echo "-- the ginac component was not built (GiNaC not found): its consumer is left out"
fi

# ---- The giac component -----------------------------------------------------
if [ -e "$libdir/cmake/algexpr/algexpr-giac-targets.cmake" ]; then
    echo "-- find_package(algexpr REQUIRED COMPONENTS giac)"
    cmake -S "$root/tests/consumer" -B "$work/find-giac" -DALGEXPR_CONSUMER_GIAC=ON \
        -DCMAKE_PREFIX_PATH="$work/prefix" >/dev/null
    cmake --build "$work/find-giac" >/dev/null
    env -u LD_LIBRARY_PATH "$work/find-giac/giac_consumer"

    echo "-- pkg-config algexpr-giac"
    # shellcheck disable=SC2046
    g++ -std=c++17 "$root/tests/consumer/giac.cpp" $(pkg-config --cflags --libs algexpr-giac) \
        -o "$work/pc-giac-consumer"
    LD_LIBRARY_PATH=$libdir "$work/pc-giac-consumer"
    # Linked statically, the client needs FLINT, which has no module of its own.
    pkg-config --static --libs algexpr-giac | grep -q -- '-lflint' ||
        { echo "pkg-config --static --libs algexpr-giac lacks -lflint" >&2; exit 1; }

    echo "-- add_subdirectory, linking algexpr::giac"
    cmake -S "$root/tests/consumer" -B "$work/sub-giac" -DALGEXPR_SOURCE_DIR="$root" \
        -DALGEXPR_CONSUMER_GIAC=ON >/dev/null
    cmake --build "$work/sub-giac" -j2 >/dev/null
    "$work/sub-giac/giac_consumer"
    # Giac's config.h defines PACKAGE and VERSION: none of it may be installed.
    if grep -rlE 'giac/(config|giac)\.h' "$work/prefix/include/algexpr" >/dev/null; then
        echo "an installed header includes Giac's headers" >&2
        exit 1
    fi
else
    echo "-- the giac component was not built (Giac not found): its consumer is left out"
fi

# ---- The README's quick start ----------------------------------------------
# The fenced block of the given language in the README's "Quick start"
# section (its first such block).
quick_start_block() {
    awk -v fence='```'"$1" '
        /^## / { in_section = ($0 == "## Quick start") }
        in_section && !in_block && $0 == fence { in_block = 1; next }
        in_block && $0 == "```" { exit }
        in_block { print }' "$root/README.md"
}
quick=$work/quickstart
mkdir -p "$quick"
quick_start_block cpp >"$quick/quickstart.cpp"
quick_start_block cmake >"$quick/CMakeLists.txt"
quick_start_block sh >"$quick/build.sh"
expected=$(quick_start_block console | sed 1d)  # what follows "$ ./quickstart"
lines=$(wc -l <"$quick/quickstart.cpp")
if [ "$lines" -eq 0 ] || [ "$lines" -gt 10 ] || [ -z "$expected" ] || ! [ -s "$quick/CMakeLists.txt" ]; then
    echo "the README's quick start is missing or longer than ten lines ($lines)" >&2
    exit 1
fi
check_quick_start() {  # <how> <program>
    local got
    got=$(LD_LIBRARY_PATH=$libdir "$2")
    if [ "$got" != "$expected" ]; then
        printf 'the quick start through %s printed:\n%s\ninstead of:\n%s\n' "$1" "$got" "$expected" >&2
        exit 1
    fi
    echo "quick start ok through $1"
}

echo "-- quick start: find_package(algexpr REQUIRED COMPONENTS numeric)"
cmake -S "$quick" -B "$quick/find" -DCMAKE_PREFIX_PATH="$work/prefix" >/dev/null
cmake --build "$quick/find" >/dev/null
check_quick_start find_package "$quick/find/quickstart"

echo "-- quick start: pkg-config algexpr-numeric"
(cd "$quick" && bash -eu build.sh)
check_quick_start pkg-config "$quick/quickstart"

echo "-- quick start: add_subdirectory"
mkdir -p "$quick/sub"
cp "$quick/quickstart.cpp" "$quick/sub/"
sed "s|^find_package(algexpr .*)\$|add_subdirectory([[$root]] algexpr)|" "$quick/CMakeLists.txt" >"$quick/sub/CMakeLists.txt"
cmake -S "$quick/sub" -B "$quick/sub/build" >/dev/null
cmake --build "$quick/sub/build" -j2 >/dev/null
check_quick_start add_subdirectory "$quick/sub/build/quickstart"

# ---- Components that are not there -----------------------------------------
echo "-- find_package of a missing component"
# Configures a project that asks for <component>; prints what CMake says.
find_component() {
    local project=$work/component-$1
    mkdir -p "$project"
    printf 'cmake_minimum_required(VERSION 3.25)\nproject(component LANGUAGES CXX)\nfind_package(algexpr REQUIRED COMPONENTS %s)\n' \
        "$1" >"$project/CMakeLists.txt"
    if cmake -S "$project" -B "$project/build" -DCMAKE_PREFIX_PATH="$work/prefix" >"$project/log" 2>&1; then
        echo "find_package(algexpr COMPONENTS $1) succeeded" >&2
        exit 1
    fi
    tr -s ' \n' ' ' <"$project/log"
}
expect_message() {  # <component> <text>
    if ! find_component "$1" | grep -qF "$2"; then
        echo "find_package(algexpr COMPONENTS $1) does not say: $2" >&2
        find_component "$1" >&2
        exit 1
    fi
    echo "COMPONENTS $1: $2"
}
expect_message bogus "algexpr has no component 'bogus'"

# ---- Without GiNaC ------------------------------------------------------------
echo "-- a build without GiNaC and Giac (-DALGEXPR_WITH_GINAC=OFF -DALGEXPR_WITH_GIAC=OFF)"
cmake -S "$root" -B "$work/build-numeric" -DCMAKE_BUILD_TYPE=Release -DALGEXPR_BUILD_TESTS=OFF \
    -DALGEXPR_BUILD_TOOLS=ON -DALGEXPR_BUILD_EXAMPLES=OFF -DALGEXPR_WITH_GINAC=OFF -DALGEXPR_WITH_GIAC=OFF \
    -DCMAKE_INSTALL_PREFIX="$work/prefix" >/dev/null
cmake --build "$work/build-numeric" -j2 >/dev/null
rm -rf "$work/prefix"
cmake --install "$work/build-numeric" >/dev/null
expect_message ginac "algexpr was built without the ginac component: ALGEXPR_WITH_GINAC was OFF at build time"
expect_message giac "algexpr was built without the giac component: ALGEXPR_WITH_GIAC was OFF at build time"
tool=$work/build-numeric/bin/algexpr
for words in "--version" "--help"; do
    # shellcheck disable=SC2086
    if ! grep -q "without GiNaC" <<<"$($tool $words)"; then
        echo "algexpr $words, built without GiNaC, does not say so" >&2
        exit 1
    fi
done
got=$($tool eval 'divide(1,4)')
if [ "$got" != "0.25" ]; then
    echo "algexpr eval, built without GiNaC, printed $got instead of 0.25" >&2
    exit 1
fi
if $tool --engine ginac eval x 2>"$work/err" || ! grep -q "libginac-dev" "$work/err"; then
    echo "algexpr --engine ginac, built without GiNaC, does not fail naming libginac-dev" >&2
    exit 1
fi
if $tool --engine giac integrate x x 2>"$work/err" || ! grep -q "libgiac-dev" "$work/err"; then
    echo "algexpr --engine giac, built without Giac, does not fail naming libgiac-dev" >&2
    exit 1
fi
echo "built without GiNaC and Giac: the tool has the numeric engine only and says so"

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
    # grep reads all of ldd's output: with pipefail, grep -q stopping early
    # can fail the pipe (ldd killed by SIGPIPE) and read as "not linked".
    if ldd "$embed/build/consumer" | grep libalgexpr >/dev/null; then linked=ON; else linked=OFF; fi
    if [ "$linked" != "$shared" ]; then
        echo "BUILD_SHARED_LIBS $shared in the embedding project, but the consumer links algexpr" \
            "$([ "$linked" = ON ] && echo dynamically || echo statically)" >&2
        exit 1
    fi
    echo "BUILD_SHARED_LIBS $shared: honoured"
done
