#!/usr/bin/env python3
# SPDX-License-Identifier: MIT
"""algexpr from Python against SymPy: the median of repeated runs and the
ratio for each task.

  parse+print   1,000 generated infix texts: str(algexpr.parse(t)) against
                str(sympy.sympify(t))
  conversion    the same 1,000 trees from SymPy and to SymPy, per node
  lambdify      a 50-node expression of two variables at 10^6 points:
                algexpr.lambdify against sympy.lambdify(..., "numpy")
  expand2       ((x+y+z+w)^15 + w) * (x+y+z+w)^15 through the default
                session against sympy.expand (one run of SymPy's; skipped
                with --quick)

Run with PYTHONPATH=build/python /usr/bin/python3 bench/python/bench_python.py.
"""
import random
import statistics
import sys
import time

import numpy as np
import sympy

import algexpr


def median_time(work, repeats):
    times = []
    for _ in range(repeats):
        start = time.perf_counter()
        work()
        times.append(time.perf_counter() - start)
    return statistics.median(times)


def random_text(rng, depth):
    if depth == 0 or rng.random() < 0.3:
        # Every subtree holds a symbol: SymPy evaluates numbers as it reads,
        # and sin of a large float has it compute pi to thousands of digits.
        return rng.choice(["x", "y", "z", "w", "%d*x" % rng.randint(2, 99),
                           "%d.%d*y" % (rng.randint(0, 9), rng.randint(1, 99))])
    a, b = random_text(rng, depth - 1), random_text(rng, depth - 1)
    return rng.choice(["(%s + %s)" % (a, b), "%s*%s" % (a, b), "(%s - %s)" % (a, b), "%s/(%s + 1)" % (a, b),
                       "(%s)**%d" % (a, rng.randint(2, 4)),
                       "sin(%s)" % a, "exp(%s)" % b, "cos(%s + %s)" % (a, b)])


def report(name, ours, theirs, unit="s"):
    print("%-34s algexpr %10.4g %s   SymPy %10.4g %s   ratio %8.1fx" % (name, ours, unit, theirs, unit, theirs / ours), flush=True)


def main():
    quick = "--quick" in sys.argv
    rng = random.Random(35)
    texts = [random_text(rng, 5) for _ in range(1000)]

    ours = median_time(lambda: [str(algexpr.parse(t)) for t in texts], 7)
    theirs = median_time(lambda: [str(sympy.sympify(t)) for t in texts], 1 if quick else 3)
    report("parse+print 1,000 texts", ours, theirs)

    exprs = [sympy.sympify(t) for t in texts]
    trees = [algexpr.from_sympy(s) for s in exprs]
    nodes = sum(e.size() for e in trees)
    print("  (%d nodes in the 1,000 trees)" % nodes)
    ours = median_time(lambda: [algexpr.from_sympy(s) for s in exprs], 5)
    theirs = median_time(lambda: [sympy.sympify(t) for t in texts], 1 if quick else 3)
    report("from SymPy, per node (vs sympify)", ours / nodes * 1e6, theirs / nodes * 1e6, "us")
    ours = median_time(lambda: [sympy.sympify(e) for e in trees], 5)
    theirs = median_time(lambda: [sympy.sympify(str(s)) for s in exprs], 1 if quick else 3)
    report("to SymPy, per node (vs its text)", ours / nodes * 1e6, theirs / nodes * 1e6, "us")

    formula = ("sin(x)^2 + cos(y)^2*x - exp(-x/3)*sqrt(abs(y) + 1) + atan(x*y) + x^3/7 - 2^(y/4) "
               "+ log(1 + x^2) + tanh(y)/(1 + x^2) + 3*x*y - y^2/5")
    e = algexpr.parse(formula)
    x, y = algexpr.symbols("x y")
    print("  (lambdify: %d nodes)" % e.size())
    xs = np.linspace(-2, 2, 10 ** 6)
    ys = np.linspace(-1, 3, 10 ** 6)
    f = algexpr.lambdify([x, y], e)
    g = sympy.lambdify(sympy.symbols("x y"), sympy.sympify(e), "numpy")
    assert np.allclose(f(xs, ys), g(xs, ys), rtol=1e-12)
    report("lambdify, 10^6 points", median_time(lambda: f(xs, ys), 7), median_time(lambda: g(xs, ys), 7))

    s4 = "(x + y + z + w)^15"
    expand2 = algexpr.parse("(%s + w)*%s" % (s4, s4))
    start = time.perf_counter()
    result = expand2.expand()
    ours = time.perf_counter() - start
    print("  (expand2: %d terms)" % len(result.args))
    if quick:
        print("%-34s algexpr %10.4g s" % ("expand2", ours))
    else:
        x4 = sympy.symbols("x y z w")
        s = sum(x4) ** 15
        start = time.perf_counter()
        sympy.expand((s + x4[3]) * s)
        report("expand2", ours, time.perf_counter() - start)


if __name__ == "__main__":
    main()
