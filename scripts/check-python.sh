#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Installs algexpr with its Python module into a temporary prefix and runs
# the README's Python quick start from the installed package, outside the
# source and build trees, with the interpreter the module was built for;
# its output must be the README's. Given a build directory, installs that
# one; otherwise configures and builds one of its own (library, clients and
# module only).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

build=${1:-}
if [ -z "$build" ]; then
    build=$work/build
    cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=Release -DALGEXPR_BUILD_TESTS=OFF -DALGEXPR_BUILD_TOOLS=OFF \
        -DALGEXPR_BUILD_EXAMPLES=OFF -DALGEXPR_BUILD_BENCHMARKS=OFF >/dev/null
    cmake --build "$build" -j2 >/dev/null
fi
python=$(sed -n 's/^Python3_EXECUTABLE:[A-Z]*=//p' "$build/CMakeCache.txt")
if [ ! -d "$build/python/algexpr" ] || [ -z "$python" ]; then
    echo "the build in $build has no Python module (python3-dev and pybind11-dev for /usr/bin/python3?)" >&2
    exit 1
fi
cmake --install "$build" --prefix "$work/prefix" >/dev/null
site=$work/prefix/lib/python3/dist-packages
if [ ! -f "$site/algexpr/__init__.py" ]; then
    echo "cmake --install did not put the package in lib/python3/dist-packages/algexpr" >&2
    exit 1
fi

# The README's blocks after its "## Python quick start" heading: the first
# python block is the program, the first text block its output.
block() {
    awk -v kind="$1" '/^## Python quick start/ { on = 1; next } /^## / { on = 0 }
        on && $0 == "```" kind { inside = 1; next } inside && /^```/ { exit } inside { print }' "$root/README.md"
}
block python >"$work/quickstart.py"
block text >"$work/expected.txt"
if [ ! -s "$work/quickstart.py" ] || [ ! -s "$work/expected.txt" ]; then
    echo "the README has no Python quick start" >&2
    exit 1
fi
(cd "$work" && env -u LD_LIBRARY_PATH PYTHONPATH="$site" "$python" quickstart.py) >"$work/got.txt"
if ! diff -u "$work/expected.txt" "$work/got.txt"; then
    echo "the Python quick start printed something else than the README shows" >&2
    exit 1
fi
echo "-- the README's Python quick start runs from $site/algexpr with $python"
