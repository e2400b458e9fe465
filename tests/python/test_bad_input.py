# SPDX-License-Identifier: MIT
# Bad input gives a Python exception or a faithful value, never a crash:
# wrong types, huge integers, NaN, trees a million levels deep.
import fractions
import pickle

import pytest

import algexpr

x = algexpr.symbol("x")


def test_wrong_types_and_values():
    for bad in ("x", None, [1], True, b"x", object()):
        with pytest.raises(TypeError):
            x + bad
        with pytest.raises(TypeError):
            algexpr.Expr(bad)
    for bad in (float("nan"), float("inf"), -float("inf")):
        with pytest.raises(ValueError, match="not finite"):
            x * bad
    for bad in (5, None, b"x"):
        with pytest.raises(TypeError):
            algexpr.parse(bad)
    for bad_name in ("", "a b", "f(", "2", "1e5"):
        with pytest.raises(ValueError):
            algexpr.symbol(bad_name)
    with pytest.raises(ValueError):
        algexpr.call("f")
    with pytest.raises(ValueError, match="notation"):
        algexpr.parse("x", "postfix")
    with pytest.raises(UnicodeEncodeError):
        algexpr.parse("x + \ud800")


def test_integers_of_any_size_are_exact():
    big = 7 ** 4000
    e = x + big - fractions.Fraction(-big, 3)
    assert e.args[0].args[1].name == str(big)
    assert algexpr.Expr(-big) == algexpr.parse(str(-big))
    assert e._sympy_().coeff(x, 0) * 3 == 4 * big
    with pytest.raises(ValueError, match="4300 digits"):  # Python's own limit on an int's text
        algexpr.Expr(10 ** 5000)


def test_a_million_levels():
    n = 10 ** 6
    deep = algexpr.parse("sin(" * n + "x" + ")" * n)
    assert deep.depth() == n + 1 and deep.free_symbols == {x}
    text = deep.prefix()
    assert algexpr.parse(text, "prefix") == deep and hash(algexpr.parse(text, "prefix")) == hash(deep)
    assert len(str(deep)) == len(text) and pickle.loads(pickle.dumps(deep)) == deep
    assert deep.subs({x: 0}).has(0) and (deep + 1).depth() == n + 2
    assert algexpr.lambdify([x], deep)(0.5) == pytest.approx(0.0017320345110059)
    assert sum(1 for _ in deep) == n + 1
    assert algexpr.parse("(" * n + "x" + ")" * n) == x
    with pytest.raises(algexpr.EvaluationError, match="nested 1,000,000 levels deep"):
        deep.execute()
    with pytest.raises(RecursionError):  # SymPy's own recursion
        deep._sympy_()
    with pytest.raises(algexpr.ParseError):
        algexpr.parse("sin(" * n + "x" + ")" * (n - 1))
