#!/usr/bin/env python3
# SPDX-License-Identifier: MIT
"""The special and everyday functions of the vocabulary, checked with SymPy.

    sympy_functions.py TOOL

- values: each function at a few points with each engine that computes it
  (`TOOL eval --numeric --digits 30 --engine E`), against SymPy's N: to 20
  digits with GiNaC, to 12 with Giac and the numeric engine (doubles);
- exact values: gamma(5), gamma(1/2), zeta(2), floor(pi), ... with GiNaC and
  Giac must be SymPy's exact values, and what stays (zeta(3), binomial(n,2),
  factorial(n)) must stay; expand writes binomial(n,2) out;
- Giac's answers that once failed: integrate exp(-x^2), sin(x)/x and sec(x)
  (their derivatives must be the integrands) and asin(sin(x)) (its values);
- infix reading: ln, arcsin, arccos, arctan read as log, asin, acos, atan,
  and what is written reads back to the same tree; sign draws no warning;
- the help lists every one of the functions with the engines that compute it.

Exits 77 (skipped) without SymPy; an engine the tool was built without is
left out.
"""
import os
import subprocess
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import sympy_readback as readback  # noqa: E402  (exits 77 itself without SymPy)
from sympy_readback import from_prefix, sympy  # noqa: E402

readback.NAMED.update({
    "erf": sympy.erf, "erfc": sympy.erfc, "gamma": sympy.gamma, "lgamma": sympy.loggamma, "zeta": sympy.zeta,
    "Si": sympy.Si, "Ci": sympy.Ci, "floor": sympy.floor, "ceil": sympy.ceiling, "frac": sympy.frac,
    "sign": sympy.sign, "sec": sympy.sec, "csc": sympy.csc, "cot": sympy.cot, "asec": sympy.asec,
    "acsc": sympy.acsc, "acot": sympy.acot, "log10": lambda a: sympy.log(a, 10), "factorial": sympy.factorial,
})
_apply = readback.apply
MULTI = {"min": sympy.Min, "max": sympy.Max, "polylog": sympy.polylog, "binomial": sympy.binomial}
readback.apply = lambda name, args: MULTI[name](*args) if name in MULTI else _apply(name, args)

# Each function with its points (infix) and the engines that compute it.
ALL = ("numeric", "ginac", "giac")
VALUES = [
    ("erf", ["1/2", "-1.25", "2", "7", "sqrt(2)"], ALL),
    ("erfc", ["1/2", "3", "-2", "12", "-30.0"], ALL),
    ("erfc", ["30.0", "99"], ("ginac",)),  # beyond the doubles of the others
    ("gamma", ["5", "1/2", "2.5", "-1.5", "1/3"], ALL),
    ("lgamma", ["1/2", "10", "7/3"], ALL),
    ("zeta", ["2", "3", "-1"], ALL),
    ("zeta", ["1/2", "5/2"], ("numeric", "giac")),  # GiNaC evaluates zeta at whole numbers only
    ("polylog", ["2, 1/2", "3, -1", "2, 0.25"], ("ginac",)),
    ("Si", ["1", "5"], ("giac",)),
    ("Ci", ["1", "5"], ("giac",)),
    ("floor", ["-5/2", "7/3", "pi", "-sqrt(2)"], ALL),
    ("ceil", ["-5/2", "7/3", "pi"], ALL),
    ("frac", ["-5/2", "7/3", "pi"], ALL),
    ("sign", ["-3", "0", "sqrt(2) - 1", "-0.5"], ALL),
    ("sec", ["1", "-2"], ALL),
    ("csc", ["1", "-2"], ALL),
    ("cot", ["1", "-2", "pi/2"], ALL),
    ("asec", ["2", "-3"], ALL),
    ("acsc", ["2", "-3"], ALL),
    ("acot", ["1/2", "-2", "0"], ALL),
    ("min", ["3, pi, 1/2", "-1, -1/3"], ALL),
    ("max", ["3, pi, 1/2", "-1, -1/3"], ALL),
    ("log10", ["2", "1000", "1/100"], ALL),
]
# Exact values (infix, with SymPy's text of the value) with GiNaC and Giac.
EXACT = [
    ("gamma(5)", "24"), ("gamma(1/2)", "sqrt(pi)"), ("zeta(2)", "pi**2/6"), ("zeta(3)", "zeta(3)"),
    ("floor(pi)", "3"), ("ceil(-7/2)", "-3"), ("frac(7/2)", "1/2"), ("sign(1 - sqrt(3))", "-1"),
    ("sec(pi/3)", "2"), ("csc(pi/6)", "2"), ("cot(pi/4)", "1"), ("asec(2)", "pi/3"), ("acsc(2)", "pi/6"),
    ("acot(-1)", "-pi/4"), ("max(1, 2, 3/2)", "2"), ("log10(1000)", "3"), ("lgamma(5)", "log(24)"),
    ("factorial(n)", "factorial(n)"), ("binomial(n, 2)", "binomial(n, 2)"),
    ("expand(binomial(n, 2))", "n*(n - 1)/2"), ("factor(binomial(n, 3))", "n*(n - 1)*(n - 2)/6"),
]
FAILURES = []


def run_tool(tool, words, lines):
    out, _, err = readback.run_tool(tool, words, lines)
    return out, err


def engines(tool):
    version = subprocess.run([tool, "--version"], capture_output=True, text=True).stdout
    return [e for e in ALL if e == "numeric" or f"{e} " in version]


def sympy_of_infix(text):
    # Floats exactly, as the tool reads them (the points are binary fractions).
    return sympy.sympify(text, rational=True, locals={"zeta": sympy.zeta, "gamma": sympy.gamma, "n": sympy.Symbol("n"),
                                       "pi": sympy.pi})


def number(text):
    """A value of eval --numeric: a number (1e-17 too) or times(a,i)."""
    try:
        return sympy.Float(text, 40) if any(c in text for c in ".e") else sympy.Integer(text)
    except (TypeError, ValueError):
        return from_prefix(text)


def check_values(tool, available):
    for engine in available:
        lines, expected = [], []
        for name, points, computing in VALUES:
            if engine in computing:
                for point in points:
                    lines.append(f"{name}({point})")
                    expected.append(readback.apply(name, [sympy_of_infix(p) for p in point.split(",")]))
        digits = 20 if engine == "ginac" else 12
        got, _ = run_tool(tool, ["eval", "--engine", engine, "--from", "infix", "--to", "prefix", "--numeric",
                                 "--digits", "30"], lines)
        for line, value, text in zip(lines, expected, got):
            exact = sympy.N(value, 40)
            if not text:
                FAILURES.append(f"{engine}: {line}: no value (SymPy: {exact})")
                continue
            v = sympy.N(number(text), 40)
            if abs(v - exact) > sympy.Float(10) ** -digits * max(1, abs(exact)):
                FAILURES.append(f"{engine}: {line} = {text}, SymPy {exact}")
        print(f"{engine}: {len(lines)} values")


def check_exact(tool, available):
    for engine in [e for e in available if e != "numeric"]:
        got, _ = run_tool(tool, ["eval", "--engine", engine, "--from", "infix", "--to", "prefix"], [e for e, _ in EXACT])
        for (line, value), text in zip(EXACT, got):
            expected = sympy_of_infix(value)
            if not text or sympy.simplify(from_prefix(text) - expected) != 0 or \
                    sympy.srepr(expected).count("binomial") != text.count("binomial"):
                FAILURES.append(f"{engine}: {line} gives '{text}', not {value}")
        print(f"{engine}: {len(EXACT)} exact values")


def check_giac_answers(tool, available):
    if "giac" not in available:
        return
    x = sympy.Symbol("x", positive=True)  # the points are positive; Giac's symbols are real
    integrands = ["exp(-x^2)", "sin(x)/x", "sec(x)", "cot(x)"]
    got, _ = run_tool(tool, ["integrate", "--engine", "giac", "--from", "infix", "--to", "prefix", "x"], integrands)
    for f, text in zip(integrands, got):
        integrand = sympy_of_infix(f.replace("^", "**")).subs(sympy.Symbol("x"), x)
        derivative = sympy.diff(from_prefix(text).subs(sympy.Symbol("x"), x), x) if text else None
        ok = derivative is not None and all(
            abs(sympy.N((derivative - integrand).subs(x, p), 30)) < 1e-20 for p in (sympy.Rational(3, 10),
                                                                                    sympy.Rational(6, 5)))
        if not ok:
            FAILURES.append(f"giac: integrate {f} gives '{text}'")
    got, _ = run_tool(tool, ["eval", "--engine", "giac", "--from", "infix", "--to", "prefix"], ["asin(sin(x))"])
    result = from_prefix(got[0]).subs(sympy.Symbol("x"), x) if got and got[0] else None
    for p in (sympy.Rational(3, 10), sympy.Rational(5, 2), sympy.Integer(4)):
        if result is None or abs(sympy.N(result.subs(x, p) - sympy.asin(sympy.sin(p)), 30)) > 1e-20:
            FAILURES.append(f"giac: asin(sin(x)) gives '{got}'")
            break
    print("giac: 5 answers")


def check_infix(tool):
    texts = ["ln(x) + arcsin(x)*arccos(y) - arctan(2)", "sign(x)"]
    prefix, errors = run_tool(tool, ["print", "--from", "infix", "--to", "prefix"], texts)
    if prefix != ["minus(plus(log(x),times(asin(x),acos(y))),atan(2))", "sign(x)"]:
        FAILURES.append(f"infix: the familiar spellings read as {prefix}")
    if "did you mean" in errors:
        FAILURES.append(f"infix: a warning about a core name: {errors}")
    infix, _ = run_tool(tool, ["print", "--from", "prefix", "--to", "infix"], prefix)
    again, _ = run_tool(tool, ["print", "--from", "infix", "--to", "prefix"], infix)
    if again != prefix:
        FAILURES.append(f"infix: {prefix} written as {infix} reads back as {again}")
    print("infix: familiar spellings")


def check_help(tool, available):
    text = subprocess.run([tool, "eval", "--help"], capture_output=True, text=True).stdout
    listed, name = {}, None
    for line in text.split("\n"):
        if line.startswith("  ") and not line.startswith("   "):
            name = line.split("(")[0].split()[0]
        if name and line.rstrip().endswith("]") and "[" in line:
            listed[name] = set(line.rstrip()[line.rindex("[") + 1:-1].split())
    wanted_by_name = {}
    for name, _, computing in VALUES:
        wanted_by_name.setdefault(name, set()).update(e for e in computing if e in available)
    for name, wanted in wanted_by_name.items():
        if listed.get(name) != wanted:
            FAILURES.append(f"help: {name}: {listed.get(name)}, not {wanted}")
    print("help: the functions listed")


def main():
    tool = sys.argv[1]
    available = engines(tool)
    check_values(tool, available)
    check_exact(tool, available)
    check_giac_answers(tool, available)
    check_infix(tool)
    check_help(tool, available)
    for failure in FAILURES:
        print("FAIL:", failure)
    return 1 if FAILURES else 0


if __name__ == "__main__":
    sys.exit(main())
