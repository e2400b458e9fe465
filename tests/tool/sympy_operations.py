#!/usr/bin/env python3
# SPDX-License-Identifier: MIT
"""SymPy checks what the algexpr tool's GiNaC engine computes.

    sympy_operations.py TOOL [COUNT] [SEED]

Random prefix trees (SymPy reads them with sympy_readback's prefix reader)
go through `TOOL diff x`, `TOOL expand`, `TOOL simplify` and `TOOL factor`, one process per
command and one line per tree. Each result must have SymPy's value (of
diff(e, x), expand(e) and e itself, twice) at several rational points: exactly,
where both values are rational numbers, and otherwise to 25 digits (9 where
the tree holds floats, which the engine rounds to 17 digits). A line the
tool refuses must be one with a part SymPy finds undefined (a division by
zero, a pole, a power of zero with a symbolic exponent).

Exact arithmetic is checked exactly: random sums, products, quotients and
integer powers of integers of up to 30 digits go through `TOOL eval`, whose
results must equal SymPy's rational numbers, and through
`TOOL eval --numeric --digits 40`, whose floats must be SymPy's values
correctly rounded to 40 significant digits. `TOOL apart x` of random
quotients gives SymPy's partial fractions, term for term.

Exits 77 (skipped) when SymPy cannot be imported or the tool was built
without GiNaC. Standard library and SymPy only.
"""
import os
import random
import subprocess
import sys
from decimal import Decimal
from fractions import Fraction

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import sympy_readback as readback  # noqa: E402  (exits 77 itself without SymPy)
from sympy_readback import SKIP, from_prefix, random_tree, run_tool, sympy  # noqa: E402

FUNCTIONS = [
    ("plus", [2, 2, 3]), ("times", [2, 2, 3]), ("minus", [2]), ("divide", [2]), ("power", [2, 2]),
    ("neg", [1]), ("sin", [1]), ("cos", [1]), ("tan", [1]), ("exp", [1]), ("log", [1]), ("sqrt", [1]),
    ("atan", [1]), ("sinh", [1]), ("cosh", [1]),
]
SYMBOLS = ["x", "y", "z", "x", "pi", "e"]
EXACT_NUMBERS = ["0", "1", "2", "3", "5", "12", "-1", "-2", "-7"]
FLOATS = ["0.5", "2.25", "-1.5"]
EXPONENTS = ["-2", "-1", "2", "3", "divide(1,2)", "divide(-1,3)"]
X = sympy.Symbol("x")
POINTS = [
    {"x": Fraction(1, 3), "y": Fraction(7, 5), "z": Fraction(-2, 3)},
    {"x": Fraction(5, 4), "y": Fraction(-1, 2), "z": Fraction(9, 7)},
    {"x": Fraction(-3, 2), "y": Fraction(2, 9), "z": Fraction(4, 3)},
    {"x": Fraction(11, 6), "y": Fraction(3, 8), "z": Fraction(-5, 4)},
]


def at(expression, point):
    """The value at the point: a sympy Rational, another finite number, or
    None where it is undefined."""
    values = {sympy.Symbol(name): sympy.Rational(v.numerator, v.denominator) for name, v in point.items()}
    try:
        value = expression.xreplace(values)
    except (ZeroDivisionError, TypeError, ValueError):
        return None
    if value.has(sympy.zoo, sympy.nan, sympy.oo, -sympy.oo):
        return None
    return value


def agree(expected, got, inexact):
    """Whether `got` has the value of `expected` at the points: the verdict,
    and how many points were compared exactly and how many numerically."""
    exact = numeric = 0
    for point in POINTS:
        a, b = at(expected, point), at(got, point)
        if a is None or b is None:
            if (a is None) != (b is None) and not inexact:
                return False, exact, numeric
            continue
        if a.is_Rational and b.is_Rational:
            if a != b:
                return False, exact, numeric
            exact += 1
            continue
        va, vb = a.evalf(40), b.evalf(40)
        if not (va.is_number and vb.is_number and va.is_finite and vb.is_finite):
            continue
        tolerance = sympy.Float("1e-9" if inexact else "1e-25", 40)
        if abs(va - vb) > tolerance * max(sympy.Integer(1), abs(va), abs(vb)):
            return False, exact, numeric
        numeric += 1
    return exact + numeric > 0 or sympy.simplify(expected - got) == 0, exact, numeric


def calls(tree):
    """The prefix texts of the calls in a tree, innermost first."""
    found, starts = [], []
    for position, c in enumerate(tree):
        if c == "(":
            start = position
            while start > 0 and tree[start - 1] not in "(,":
                start -= 1
            starts.append(start)
        elif c == ")":
            found.append(tree[starts.pop():position + 1])
    return found


def undefined(tree):
    """Whether SymPy finds a part of the tree undefined (1/0, log(0), which
    it may absorb further up: cos(1/log(0)) is 1 to SymPy), or a power of
    zero with an exponent that is not a positive number (0^z, of which
    GiNaC's derivative takes the logarithm)."""
    for call in calls(tree):
        part = from_prefix(call)
        if part.has(sympy.zoo, sympy.nan):
            return True
        for power in part.atoms(sympy.Pow):
            if power.base == 0 and not power.exp.is_positive:
                return True
    return False


def check_operations(tool, rng, count):
    trees = []
    while len(trees) < count:
        numbers = EXACT_NUMBERS + (FLOATS if rng.random() < 0.15 else [])
        tree = random_tree(rng, FUNCTIONS, SYMBOLS, rng.randint(1, 4), numbers, EXPONENTS)
        if "x" in tree:
            trees.append(tree)
    built = [from_prefix(tree) for tree in trees]
    operations = [
        (["diff", "x"], lambda e: sympy.diff(e, X)),
        (["expand"], sympy.expand),
        (["simplify"], lambda e: e),
        (["factor"], lambda e: e),
    ]
    failures = refused = exact = numeric = 0
    for words, sympy_operation in operations:
        out, _, messages = run_tool(tool, words, trees)
        for tree, expression, line in zip(trees, built, out):
            inexact = expression.has(sympy.Float)
            if line == "":
                refused += 1
                if not undefined(tree):
                    failures += 1
                    print(f"FAIL {' '.join(words)} {tree}: refused, though SymPy finds it defined")
                continue
            expected = sympy_operation(expression)
            got = from_prefix(line)
            ok, e, n = agree(expected, got, inexact)
            exact += e
            numeric += n
            if not ok:
                failures += 1
                print(f"FAIL {' '.join(words)} {tree}\n  tool:  {line}\n  SymPy: {expected}")
        if failures:
            print(messages)
    print(f"diff, expand, simplify, factor on {count} trees: {len(operations) * count - refused - failures} agree with SymPy "
          f"({exact} values compared exactly, {numeric} to 25 or 9 digits), {refused} refused as undefined")
    return failures


def exact_tree(rng, depth):
    """A random sum, difference, product, quotient or integer power of
    integers of up to 30 digits."""
    if depth == 0 or rng.random() < 0.2:
        digits = rng.choice([1, 1, 2, 5, 12, 30])
        value = rng.randrange(10 ** (digits - 1), 10 ** digits) * rng.choice([1, -1])
        return str(value)
    name = rng.choice(["plus", "minus", "times", "divide", "divide", "power", "neg"])
    if name == "power":
        return f"power({exact_tree(rng, depth - 1)},{rng.randint(-3, 4)})"
    if name == "neg":
        return f"neg({exact_tree(rng, depth - 1)})"
    arity = rng.choice([2, 3]) if name in ("plus", "times") else 2
    return f"{name}({','.join(exact_tree(rng, depth - 1) for _ in range(arity))})"


def correctly_rounded(text, value, digits):
    """Whether the float text is `value` (a Fraction) rounded to `digits`
    significant digits: exactly that many, and at most half a unit of the
    last one away."""
    mantissa = text.lower().split("e")[0].lstrip("-")
    significant = mantissa.replace(".", "").lstrip("0")
    if len(significant) != digits and value != 0:
        return False
    written = Fraction(Decimal(text))
    if value == 0:
        return written == 0
    magnitude = abs(value)
    exponent = len(str(magnitude.numerator // magnitude.denominator)) - 1 if magnitude >= 1 else \
        -len(str(magnitude.denominator // magnitude.numerator))
    while Fraction(10) ** exponent > magnitude:
        exponent -= 1
    while Fraction(10) ** (exponent + 1) <= magnitude:
        exponent += 1
    unit = Fraction(10) ** (exponent - digits + 1)
    return abs(written - value) <= unit / 2


def check_exact(tool, rng, count):
    trees = [exact_tree(rng, rng.randint(1, 4)) for _ in range(count)]
    out, _, _ = run_tool(tool, ["eval"], trees)
    floats, _, _ = run_tool(tool, ["eval", "--numeric", "--digits", "40"], trees)
    failures = defined = 0
    for tree, line, number in zip(trees, out, floats):
        expected = from_prefix(tree)
        if expected.has(sympy.zoo, sympy.nan):
            if line != "" or number != "":
                failures += 1
                print(f"FAIL eval {tree}: {line!r}, though SymPy finds a division by zero")
            continue
        defined += 1
        got = from_prefix(line) if line else None
        if got is None or not got.is_Rational or got != expected:
            failures += 1
            print(f"FAIL eval {tree}\n  tool:  {line}\n  SymPy: {expected}")
            continue
        value = Fraction(int(expected.p), int(expected.q))
        if ("." in number or "e" in number) != (value.denominator != 1) or \
                (value.denominator == 1 and number != str(value.numerator)) or \
                (value.denominator != 1 and not correctly_rounded(number, value, 40)):
            failures += 1
            print(f"FAIL eval --numeric --digits 40 {tree}\n  tool:  {number}\n  value: {value}")
    print(f"eval on {count} exact trees: {defined - failures} equal to SymPy's rationals and correctly rounded "
          f"to 40 digits, {count - defined} refused as divisions by zero")
    return failures


APART_FACTORS = ["x", "minus(x,1)", "plus(x,2)", "plus(times(2,x),1)", "plus(power(x,2),1)",
                 "plus(power(x,2),x,1)", "minus(times(3,power(x,2)),2)", "minus(power(x,3),2)", "y", "plus(y,1)"]


def parts(decomposition):
    """The polynomial part expanded, and the fractions each in lowest terms."""
    terms = sympy.Add.make_args(decomposition)
    whole = sympy.cancel(sum((t for t in terms if t.is_polynomial(X)), sympy.Integer(0)))
    return whole, sorted(sympy.srepr(sympy.cancel(t)) for t in terms if not t.is_polynomial(X))


def check_apart(tool, rng, count):
    """`TOOL apart x` and `--engine giac` on random quotients (repeated and
    irreducible factors, improper ones, a symbol y in the numerator and in
    factors free of x) give SymPy's decomposition term for term; partial
    fractions over the rationals are unique."""
    trees = []
    for _ in range(count):
        factors = [f"power({f},{rng.randint(1, 3)})" for f in rng.sample(APART_FACTORS, rng.randint(1, 3))]
        terms = [f"times({rng.randint(-4, 4)},power(x,{k}){',y' if rng.random() < 0.2 else ''})"
                 for k in range(rng.randint(0, 8))]
        terms.append(str(rng.randint(1, 5)))
        numerator = f"plus({','.join(terms)})" if len(terms) > 1 else terms[0]
        denominator = f"times({','.join(factors)})" if len(factors) > 1 else factors[0]
        trees.append(f"divide({numerator},{denominator})")
    failures = 0
    version = subprocess.run([tool, "--version"], capture_output=True, text=True).stdout
    engines = ["ginac", "giac"] if "\n  giac " in version else ["ginac"]
    for engine in engines:
        out, _, _ = run_tool(tool, ["--engine", engine, "apart", "x"], trees)
        for tree, line in zip(trees, out):
            expected = sympy.apart(from_prefix(tree), X)
            got = from_prefix(line) if line else None
            same = got is not None and parts(expected) == parts(got)
            if not same:
                failures += 1
                print(f"FAIL apart ({engine}) {tree}\n  tool:  {line}\n  SymPy: {expected}")
    print(f"apart on {count} quotients in {' and '.join(engines)}: {len(engines) * count - failures} agree with SymPy "
          "term for term")
    return failures


def main():
    if len(sys.argv) < 2:
        print(__doc__)
        return 2
    tool = sys.argv[1]
    count = int(sys.argv[2]) if len(sys.argv) > 2 else 300
    seed = int(sys.argv[3]) if len(sys.argv) > 3 else 12
    version = subprocess.run([tool, "--version"], capture_output=True, text=True).stdout
    if "\n  ginac " not in version:
        print("skipped: the tool was built without GiNaC (install libginac-dev, e.g. with scripts/install-deps.sh, "
              "and rebuild)")
        return SKIP
    rng = random.Random(seed)
    failures = check_operations(tool, rng, count) + check_exact(tool, rng, count // 2) + check_apart(tool, rng, 60)
    print(f"SymPy {sympy.__version__}, {readback.__name__}'s prefix reader: {failures} disagreements")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
