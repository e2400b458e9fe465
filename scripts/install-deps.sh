#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Installs, on Debian, what building and testing algexpr needs and is missing:
# the compilers and test libraries, GiNaC and Giac for their clients, and SymPy
# (python3-sympy) unless python3 already has it. Extra package names may be
# given as arguments. Needs root (or sudo) only when something is missing.
set -euo pipefail

packages=(cmake make g++ clang pkgconf libgtest-dev libbenchmark-dev libginac-dev libgiac-dev libflint-dev libflint-arb-dev "$@")
# The tests have SymPy read back the tool's infix and LaTeX: Debian's lark for
# SymPy's LaTeX grammar, and Debian's SymPy where python3 has none of its own.
packages+=(python3-lark)
if ! python3 -c 'import sympy' >/dev/null 2>&1; then
    packages+=(python3-sympy)
fi
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
