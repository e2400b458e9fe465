# SPDX-License-Identifier: MIT
# Numeric evaluation over arrays, against NumPy computing the same formula.
import numpy as np
import pytest

import algexpr

x, y = algexpr.symbols("x y")


def test_agrees_with_numpy_and_broadcasts():
    e = algexpr.parse("sin(x)^2 + cos(y)/2 - exp(-x)*sqrt(abs(y)) + atan(x*y) + x^3 - 2^y + log(1 + x^2) + tanh(y)/pi")
    f = algexpr.lambdify([x, y], e)
    xs = np.linspace(-3, 3, 3001)
    ys = np.linspace(-2, 5, 3001)
    want = (np.sin(xs) ** 2 + np.cos(ys) / 2 - np.exp(-xs) * np.sqrt(np.abs(ys)) + np.arctan(xs * ys) + xs ** 3
            - 2 ** ys + np.log(1 + xs ** 2) + np.tanh(ys) / np.pi)
    assert np.allclose(f(xs, ys), want, rtol=1e-13, atol=1e-13)
    grid = f(xs[:5, None], ys[None, :7])
    assert grid.shape == (5, 7) and np.allclose(grid[2, 3], f(xs[2], ys[3]))
    assert isinstance(f(0.5, 1), float)
    powers = algexpr.lambdify(x, algexpr.parse("x^3 - x^-2 + x^0 + x^2.5 + (-x)^65"))
    assert np.allclose(powers(xs[1600:]), xs[1600:] ** 3 - xs[1600:] ** -2.0 + 1 + xs[1600:] ** 2.5 - xs[1600:] ** 65,
                       rtol=1e-13, atol=0)
    assert algexpr.lambdify([], algexpr.parse("2*pi - e"))() == pytest.approx(2 * np.pi - np.e)


def test_ieee_results_and_refusals():
    f = algexpr.lambdify(x, algexpr.parse("1/x + sqrt(x)"))
    with np.errstate(all="ignore"):
        out = f(np.array([0.0, -1.0, 1.0]))
    assert np.isinf(out[0]) and np.isnan(out[1]) and out[2] == 2.0
    for bad, why in (("f(x)", "f has no numeric form"), ("x + y", "y is not an argument"), ("diff(x, x)", "diff")):
        with pytest.raises(ValueError, match=why):
            algexpr.lambdify([x], algexpr.parse(bad))
    with pytest.raises(ValueError, match="symbols"):
        algexpr.lambdify([x + 1], x)
    with pytest.raises(TypeError, match="expected 1 arguments"):
        algexpr.lambdify([x], x)(1.0, 2.0)
