#!/usr/bin/env python3
# SPDX-License-Identifier: MIT
"""Writes poly_cases.txt, the expected results of the polynomial layer's
tests, by SymPy on random polynomials (seeded: the same file every run).

Each line is tab-separated: an operation, its arguments in prefix text, then
SymPy's answer:
  expand  A  E                     E = expand(A), A a product or power
  factor  A  c  F1 e1  F2 e2 ...   A = c * F1^e1 * ..., Fi primitive
  gcd     A  B  G                  integer polynomials
  quo     A  B  x  Q               division in x, B's leading coefficient a number
  rem     A  B  x  R
  cancel  A  N  D                  A = N/D in lowest terms

    python3 tests/poly/make_cases.py > tests/poly/poly_cases.txt
"""
import random
import sys

import sympy

X, Y, Z, W = sympy.symbols("x y z w")
SYMBOLS = [X, Y, Z, W]


def prefix(e):
    """SymPy's expression in the prefix text form."""
    if e.is_Integer:
        return str(int(e))
    if e.is_Rational:
        return "divide(%d,%d)" % (e.p, e.q)
    if e.is_Symbol:
        return str(e)
    if e.is_Add:
        return "plus(%s)" % ",".join(prefix(a) for a in e.args)
    if e.is_Mul:
        return "times(%s)" % ",".join(prefix(a) for a in e.args)
    if e.is_Pow:
        return "power(%s,%s)" % (prefix(e.base), prefix(e.exp))
    raise ValueError(e)


def coefficient(rng, rational):
    c = rng.randint(-9, 9) or 1
    if rational and rng.random() < 0.4:
        return sympy.Rational(c, rng.randint(2, 7))
    return sympy.Integer(c)


def poly(rng, symbols, degree, terms, rational=True):
    total = sympy.Integer(0)
    for _ in range(terms):
        monomial = coefficient(rng, rational)
        left = rng.randint(0, degree)
        for s in symbols:
            k = rng.randint(0, left)
            left -= k
            monomial *= s ** k
        total += monomial
    return total if total != 0 else symbols[0] + 1


def cases(rng):
    out = []
    for i in range(40):
        symbols = SYMBOLS[: rng.randint(1, 4)]
        degree = 30 // (len(symbols) * 2) + 1 if i % 4 else 30 if len(symbols) == 1 else 8
        a = poly(rng, symbols, degree, rng.randint(2, 5))
        b = poly(rng, symbols, max(degree // 2, 1), rng.randint(2, 5))
        if i % 3 == 0:
            k = rng.randint(2, 6)
            a_text = "power(%s,%d)" % (prefix(a), k)
            value = a ** k
        else:
            a_text = "times(%s,%s)" % (prefix(a), prefix(b))
            value = a * b
        out.append(["expand", a_text, prefix(sympy.expand(value))])
    for i in range(30):
        symbols = SYMBOLS[: rng.randint(1, 3)]
        factors = [poly(rng, symbols, 4, rng.randint(1, 3), rational=False) for _ in range(rng.randint(1, 3))]
        value = sympy.expand(coefficient(rng, True) * sympy.Mul(*[f ** rng.randint(1, 3) for f in factors]))
        if value.is_number:
            continue
        c, found = sympy.factor_list(value, *symbols)
        line = ["factor", prefix(value), prefix(c)]
        for f, e in found:
            line += [prefix(f), str(e)]
        out.append(line)
    for i in range(25):
        symbols = SYMBOLS[: rng.randint(1, 3)]
        common = poly(rng, symbols, 6, rng.randint(1, 3), rational=False)
        a = sympy.expand(common * poly(rng, symbols, 6, rng.randint(1, 3), rational=False))
        b = sympy.expand(common * poly(rng, symbols, 6, rng.randint(1, 3), rational=False))
        out.append(["gcd", prefix(a), prefix(b), prefix(sympy.gcd(a, b))])
    for i in range(25):
        symbols = SYMBOLS[: rng.randint(1, 3)]
        a = poly(rng, symbols, 12, rng.randint(2, 6))
        b = poly(rng, symbols[1:], 3, rng.randint(0, 2)) if len(symbols) > 1 else sympy.Integer(0)
        b = sympy.expand(b + coefficient(rng, True) * X ** rng.randint(1, 6))
        q, r = sympy.div(sympy.Poly(a, X), sympy.Poly(b, X))
        out.append(["quo", prefix(a), prefix(b), "x", prefix(q.as_expr())])
        out.append(["rem", prefix(a), prefix(b), "x", prefix(r.as_expr())])
    for i in range(25):
        symbols = SYMBOLS[: rng.randint(1, 3)]
        common = poly(rng, symbols, 4, rng.randint(1, 3))
        n = sympy.expand(common * poly(rng, symbols, 4, rng.randint(1, 3)))
        d = sympy.expand(common * poly(rng, symbols, 4, rng.randint(1, 3)))
        if d == 0:
            continue
        a_text = "divide(%s,%s)" % (prefix(n), prefix(d))
        num, den = sympy.fraction(sympy.cancel(n / d))
        out.append(["cancel", a_text, prefix(sympy.expand(num)), prefix(sympy.expand(den))])
    return out


def main():
    rng = random.Random(20261207)
    for line in cases(rng):
        sys.stdout.write("\t".join(line) + "\n")


if __name__ == "__main__":
    main()
