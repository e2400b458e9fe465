#!/usr/bin/env python3
# SPDX-License-Identifier: MIT
"""The GiNaC engine's values for complex numbers, checked with SymPy.

    sympy_numeric.py numeric TOOL [COUNT] [SEED]
    sympy_numeric.py substitution TOOL [COUNT] [SEED]

numeric: random trees without symbols, with negative bases under fractional
powers, i, conjugate, real_part, imag_part and abs, go through
`TOOL eval --numeric --digits 30`; each value must be SymPy's N to 22
significant digits, and so must that of `TOOL eval` followed by
`TOOL eval --numeric`. A line the tool refuses must be one SymPy finds
undefined.

substitution: random trees in x and y: evaluating first and then putting
complex numbers in for x and y (`TOOL eval | TOOL subst x P | TOOL subst y Q`)
must give the value that putting them in first gives, to 20 digits, as
`TOOL eval --numeric --digits 30` computes both. That holds only if the
engine takes symbols for complex numbers.

Exits 77 (skipped) without SymPy or when the tool was built without GiNaC.
"""
import os
import random
import re
import subprocess
import sys
from fractions import Fraction

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import sympy_readback as readback  # noqa: E402  (exits 77 itself without SymPy)
from sympy_readback import SKIP, random_tree, sympy  # noqa: E402
from sympy_operations import undefined  # noqa: E402

import mpmath  # noqa: E402  (SymPy's own dependency)
from sympy.core.evalf import evalf as sympy_evalf  # noqa: E402

mpmath.mp.dps = 50

readback.NAMED.update({"conjugate": sympy.conjugate, "real_part": sympy.re, "imag_part": sympy.im})
_apply = readback.apply
readback.apply = lambda name, args: sympy.atan2(*args) if name == "atan2" and len(args) == 2 else _apply(name, args)

FUNCTIONS = [
    ("plus", [2, 3]), ("times", [2, 3]), ("minus", [2]), ("divide", [2]), ("power", [2, 2, 2]),
    ("neg", [1]), ("sin", [1]), ("cos", [1]), ("exp", [1]), ("log", [1]), ("sqrt", [1]), ("abs", [1]),
    ("atan", [1]), ("sinh", [1]), ("conjugate", [1]), ("real_part", [1]), ("imag_part", [1]),
]
NUMBERS = ["1", "2", "3", "-1", "-2", "-8", "divide(1,3)", "divide(-5,2)", "i", "times(2,i)", "plus(1,i)",
           "minus(divide(1,2),times(3,i))", "0.5", "-1.25"]
EXPONENTS = ["2", "3", "-1", "divide(1,2)", "divide(1,3)", "divide(-2,3)", "divide(3,2)", "i"]
POINT_X = "plus(divide(1,3),times(divide(2,7),i))"
POINT_Y = "minus(divide(-5,4),times(divide(1,2),i))"


def run_tool(tool, words, lines):
    return readback.run_tool(tool, words, lines)[0]


FLOAT = re.compile(r"(?<![\w.])-?\d+\.\d*(?:e-?\d+)?")


def exactly(text):
    """The text with its floats as the fractions they are written as (the
    engine takes 0.1 as 1/10, not as the nearest double): the digits as a
    fraction times a power of ten."""
    def fraction(match):
        mantissa, _, exponent = match.group(0).partition("e")
        f = Fraction(mantissa)
        return f"times(divide({f.numerator},{f.denominator}),power(10,{exponent or 0}))"
    return FLOAT.sub(fraction, text)


def value(text, digits=40):
    """The complex value of a prefix text, or None when it is undefined."""
    if not text:
        return None
    try:
        v = sympy.N(readback.from_prefix(exactly(text)), digits)
    except (ZeroDivisionError, TypeError, ValueError):
        return None
    if v.has(sympy.zoo, sympy.nan, sympy.oo, -sympy.oo) or not v.is_number:
        return None
    return complex(0) if v == 0 else v


def mp(v):
    """A number SymPy has evaluated (value()) as an mpmath complex number."""
    try:
        re, im, _, _ = sympy_evalf(sympy.sympify(v), 200, {})
    except NotImplementedError:  # a part SymPy left unevaluated: mpmath computes it
        return mpmath.mpc(sympy.lambdify((), v, "mpmath")())
    return mpmath.mpc(mpmath.mpf(re) if re else 0, mpmath.mpf(im) if im else 0)


def close(a, b, digits):
    """Whether two SymPy numbers agree to `digits` significant digits of the
    larger modulus."""
    x, y = mp(a), mp(b)
    return abs(x - y) <= mpmath.mpf(10) ** (-digits) * max(abs(x), abs(y), mpmath.mpf("1e-6"))


def check_numeric(tool, rng, count):
    trees = [random_tree(rng, FUNCTIONS, NUMBERS, rng.randint(1, 4), NUMBERS, EXPONENTS) for _ in range(count)]
    direct = run_tool(tool, ["eval", "--numeric", "--digits", "30"], trees)
    exact = run_tool(tool, ["eval", "--digits", "30"], trees)
    twice = run_tool(tool, ["eval", "--numeric", "--digits", "30"], exact)
    failures = compared = undefined_ones = 0
    for tree, got, got_twice in zip(trees, direct, twice):
        expected = value(tree, 50)
        if expected is None or undefined(exactly(tree)):
            undefined_ones += 1
            continue
        for route, text in (("eval --numeric", got), ("eval, then eval --numeric", got_twice)):
            v = value(text)
            if v is None or not close(expected, v, 22):
                failures += 1
                print(f"FAIL {route} {tree}\n  tool:  {text or '(refused)'}\n  SymPy: {expected}")
            else:
                compared += 1
    print(f"eval --numeric on {count} trees: {compared} values agree with SymPy's N to 22 digits, "
          f"{undefined_ones} undefined to SymPy, {failures} disagreements")
    return failures


def check_substitution(tool, rng, count):
    symbols = ["x", "y", "x", "y"]
    trees = []
    while len(trees) < count:
        tree = random_tree(rng, FUNCTIONS, symbols, rng.randint(1, 4), NUMBERS + symbols, EXPONENTS)
        if "x" in tree or "y" in tree:
            trees.append(tree)
    numeric = ["eval", "--numeric", "--digits", "30"]
    evaluated = run_tool(tool, ["eval", "--digits", "30"], trees)
    later = run_tool(tool, numeric, run_tool(tool, ["subst", "y", POINT_Y], run_tool(tool, ["subst", "x", POINT_X], evaluated)))
    first = run_tool(tool, numeric, run_tool(tool, ["subst", "y", POINT_Y], run_tool(tool, ["subst", "x", POINT_X], trees)))
    failures = compared = skipped = 0
    for tree, exact, a, b in zip(trees, evaluated, later, first):
        va, vb = value(a), value(b)
        if va is None and vb is None:
            skipped += 1
            continue
        if va is None or vb is None or not close(va, vb, 20):
            failures += 1
            print(f"FAIL {tree}\n  evaluated: {exact}\n  then substituted: {a or '(refused)'}\n"
                  f"  substituted first: {b or '(refused)'}")
        else:
            compared += 1
    print(f"substitution on {count} trees in x and y: {compared} agree to 20 digits at complex x and y, "
          f"{skipped} undefined both ways, {failures} disagreements")
    return failures


def main():
    if len(sys.argv) < 3 or sys.argv[1] not in ("numeric", "substitution"):
        print(__doc__)
        return 2
    tool = sys.argv[2]
    count = int(sys.argv[3]) if len(sys.argv) > 3 else 300
    rng = random.Random(int(sys.argv[4]) if len(sys.argv) > 4 else 21)
    probe = subprocess.run([tool, "eval", "i"], capture_output=True, text=True)
    if probe.stdout.strip() != "i":
        print("SKIP: the tool was built without the GiNaC engine")
        return SKIP
    check = check_numeric if sys.argv[1] == "numeric" else check_substitution
    return 1 if check(tool, rng, count) else 0


if __name__ == "__main__":
    sys.exit(main())
