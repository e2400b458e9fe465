#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Installs, on Debian, what building and testing algexpr needs and is missing:
# the compilers and test libraries, GiNaC and Giac for their clients, what the
# Python module needs (Debian's python3 with pybind11, NumPy and pytest), and
# SymPy (python3-sympy) unless both python3 and /usr/bin/python3 have it. Extra package names may be
# given as arguments. Needs root (or sudo) only when something is missing.
set -euo pipefail

packages=(cmake make g++ clang pkgconf libgtest-dev libbenchmark-dev libginac-dev libgiac-dev libflint-dev libflint-arb-dev "$@")
# The tests have SymPy read back the tool's infix and LaTeX: Debian's lark for
# SymPy's LaTeX grammar, and Debian's SymPy where python3 has none of its own.
# The Python module is built and tested for Debian's interpreter (the build's
# Python3_EXECUTABLE, /usr/bin/python3), which another python3 earlier on PATH
# must not hide: Debian's pybind11, NumPy, pytest and SymPy serve that one.
packages+=(python3-lark python3-dev pybind11-dev python3-numpy python3-pytest)
for python in python3 /usr/bin/python3; do
    if ! "$python" -c 'import sympy' >/dev/null 2>&1; then
        packages+=(python3-sympy)
        break
    fi
done
missing=()
for package in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed' || missing+=("$package")
done
if ((${#missing[@]} > 0)); then
    sudo=""
    [ "$(id -u)" -eq 0 ] || sudo="sudo"
    echo "installing: ${missing[*]}" >&2
    $sudo apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi
