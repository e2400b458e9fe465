# SPDX-License-Identifier: MIT
# Sessions and the engines' operations: results, refusals as exceptions,
# the second session's route, and two threads evaluating at once.
import threading

import pytest

import algexpr
from algexpr import parse
from conftest import engine

x, y = algexpr.symbols("x y")


@engine("ginac")
def test_ginac_operations():
    assert algexpr.default_session().engine == "ginac" and algexpr.default_session().is_current
    assert str(parse("(x + 1)^3").expand()) == "x^3 + 3*x^2 + 3*x + 1"
    assert str(parse("x^4 - 1").factor()) == "(x^2 + 1)*(x - 1)*(x + 1)"
    assert str(parse("(x^2 - 1)/(x - 1)").simplify()) == "x + 1"
    assert str(parse("x^2*sin(x)").diff(x)) == "x^2*cos(x) + 2*x*sin(x)"
    assert parse("x^5").diff(x, 3) == parse("60*x^2")
    assert str(parse("exp(x)").series(x, 0, 3)) == "1 + x + x^2/2 + order(x^3)"
    assert str(parse("1/3").evalf(30)) == "0.333333333333333333333333333333"
    assert str(parse("2^70").evalf()) == "1180591620717411303424"
    assert parse("1/2 + 1/3").execute() == parse("divide(5,6)", "prefix")


@engine("ginac")
def test_refusals_raise_with_the_engines_reason():
    cases = [(lambda: parse("1/0").expand(), "division by zero"),
             (lambda: parse("x^2").integrate(x), "integrate: not offered by this engine"),
             (lambda: parse("x + 1").evalf(), "x: free symbol"),
             (lambda: parse("3^(10^9)").expand(), "exact integers are limited to 1,000,000 digits")]
    for compute, reason in cases:
        with pytest.raises(algexpr.EvaluationError, match=reason.replace("^", r"\^")) as error:
            compute()
        assert isinstance(error.value, ArithmeticError)
    with pytest.raises(ValueError, match="at most 10,000"):
        parse("1/3").evalf(10 ** 6)


@engine("giac")
def test_giac_as_a_second_session():
    giac = algexpr.Session("giac")
    assert not giac.is_current
    assert parse("2*x").integrate(x, session=giac) == parse("x^2")
    assert parse("x^2").integrate(x, 0, 3, session=giac) == parse("9")
    assert parse("sin(x)/x").limit(x, 0, session=giac) == parse("1")
    assert parse("1/x").limit(x, 0, 1, session=giac) == parse("infinity")
    assert parse("x^2 - 4").solve(x, session=giac) == [parse("-2"), parse("2")]
    assert str(parse("sin(x)^2 + cos(x)^2").simplify(session=giac)) == "1"
    with pytest.raises(ValueError, match="doubles"):
        parse("1/3").evalf(5, session=giac)
    shallow = algexpr.Session("giac", limits={"depth": 3})
    with pytest.raises(algexpr.EvaluationError, match="deep"):
        parse("sin(sin(sin(sin(x))))").expand(session=shallow)
    with pytest.raises(ValueError, match="no limit 'max_depth'"):
        algexpr.Session("giac", limits={"max_depth": 3})


def test_session_options_are_checked():
    with pytest.raises(ValueError, match="unknown engine"):
        algexpr.Session("maple")
    with pytest.raises(ValueError, match="no limits"):
        algexpr.Session("numeric", limits={"depth": 3})
    if "ginac" in algexpr.engines():
        with pytest.raises(ValueError, match="no limit 'nodes'"):
            algexpr.Session("ginac", limits={"nodes": 3})
        tight = algexpr.Session("ginac", digits=5, real=[x], limits={"diff_order": 2})
        assert str(parse("1/3").evalf(session=tight)) == "0.33333"
        assert parse("log(exp(x))").execute(session=tight) == x
        with pytest.raises(algexpr.EvaluationError, match="order"):
            parse("x^9").diff(x, 3, session=tight)
    numeric = algexpr.Session("numeric")
    assert str(parse("2^10 + 0.5").execute(session=numeric, numeric=True)) == "1024.5"


@engine("ginac")
def test_two_threads_evaluate_at_once():
    n = 30
    exprs = [parse("(x + %d)^8" % k) for k in range(n)]
    expected = [e.expand() for e in exprs]
    results = {}

    def work(part):
        results[part] = [exprs[k].expand() for k in range(part, n, 2)]

    threads = [threading.Thread(target=work, args=(p,)) for p in (0, 1)]
    for t in threads:
        t.start()
    for t in threads:
        t.join()
    assert results[0] == expected[0::2] and results[1] == expected[1::2]
