# SPDX-License-Identifier: MIT
# SymPy both ways: round trips on a random corpus and on SymPy's own
# printing read as infix; named functions; what has no counterpart.
import random

import pytest

import algexpr

sympy = pytest.importorskip("sympy")
X, Y, Z = sympy.symbols("x y z")
f = sympy.Function("f")


def random_sympy(rng, depth):
    if depth == 0 or rng.random() < 0.25:
        return rng.choice([X, Y, Z, sympy.Integer(rng.randint(-9, 9)), sympy.Rational(rng.randint(1, 9), 7),
                           sympy.Float(rng.choice([0.5, 2.25, -1.5]))])
    a, b = random_sympy(rng, depth - 1), random_sympy(rng, depth - 1)
    return rng.choice([lambda: a + b, lambda: a * b, lambda: a - b, lambda: a / (b + 11),
                       lambda: sympy.Pow(a, rng.randint(-3, 3)), lambda: sympy.sin(a), lambda: sympy.exp(b),
                       lambda: sympy.log(a), lambda: f(a, b), lambda: sympy.erf(a), lambda: sympy.atan2(a, b)])()


def corpus(count=300):
    rng = random.Random(35)
    made = (random_sympy(rng, 4) for _ in range(count))
    return [s for s in made if not s.has(sympy.zoo, sympy.nan)]


def test_round_trips_on_a_random_corpus():
    for s in corpus():
        e = algexpr.from_sympy(s)
        assert sympy.sympify(e) == s, s
        assert algexpr.from_sympy(e._sympy_()) == e, s


def test_sympy_printing_reads_as_infix():
    for s in corpus(150):
        if s.has(sympy.E, sympy.I, sympy.pi):
            continue
        # SymPy's text rounds floats, and its reading distributes a number over a sum.
        assert sympy.expand(sympy.sympify(algexpr.parse(str(s)))) == sympy.expand(sympy.sympify(str(s))), s


def test_constants_and_named_functions():
    e = algexpr.from_sympy(sympy.I * sympy.pi + sympy.E ** X - sympy.oo * Y + sympy.Heaviside(X) + sympy.Abs(Z))
    assert e.free_symbols == set(algexpr.symbols("x y z"))
    assert sympy.sympify(e) == sympy.I * sympy.pi + sympy.exp(X) - sympy.oo * Y + sympy.Heaviside(X) + sympy.Abs(Z)
    g = algexpr.from_sympy(sympy.Function("g")(X) + sympy.erf(X) + sympy.Eq(X, 2).lhs)
    assert sympy.sympify(g) == sympy.Function("g")(X) + sympy.erf(X) + X
    assert algexpr.from_sympy(sympy.Eq(X, 2)) == algexpr.parse("x = 2")
    precise = sympy.Float("0.1234567890123456789012345678", 30)
    assert algexpr.from_sympy(precise).name == "0.1234567890123456789012345678"
    assert abs(sympy.sympify(algexpr.from_sympy(precise)) - precise) < 1e-28
    assert str(algexpr.from_sympy(sympy.sqrt(X) / 3)) == "1/3*x^(1/2)"


def test_what_has_no_counterpart_is_refused():
    for bad in (sympy.zoo, sympy.nan, sympy.Integral(X, X), sympy.Symbol("pi"), sympy.Symbol("a b"),
                sympy.Matrix([1]), sympy.Wild("w"), sympy.Piecewise((X, X > 0), (0, True))):
        with pytest.raises((ValueError, TypeError)):
            algexpr.from_sympy(bad)
    with pytest.raises(TypeError):
        algexpr.from_sympy("x + 1")
