#!/usr/bin/env python3
# SPDX-License-Identifier: MIT
"""SymPy reads back what the algexpr tool writes.

    sympy_readback.py infix TOOL [COUNT] [SEED]
    sympy_readback.py latex TOOL [COUNT] [SEED]

Random prefix trees go through `TOOL print --to infix` (or `--to latex`), and
SymPy reads each line: infix with parse_expr, every name given through
local_dict (e, i and pi as SymPy's E, I and pi); LaTeX with
parse_latex(..., backend="lark"). What SymPy reads must equal SymPy's own
build of the prefix tree, made by the small prefix reader below: the same
canonical expression, or else the same value at random points.

Exits 77 (skipped) when SymPy, or for LaTeX lark, cannot be imported.
Standard library and SymPy only; Debian's lark is borrowed for the import.
"""
import math
import random
import re
import subprocess
import sys

SKIP = 77

try:
    import sympy
    from sympy.core.function import AppliedUndef
    from sympy.parsing.sympy_parser import convert_xor, parse_expr, standard_transformations
except ImportError as error:
    print(f"skipped: SymPy cannot be imported by {sys.executable}: {error}")
    sys.exit(SKIP)


def import_lark():
    """lark, from the interpreter's own path or else from Debian's python3-lark.
    The Debian directory is on sys.path only while lark is imported, after
    SymPy, so that it never shadows the SymPy already loaded."""
    try:
        import lark  # noqa: F401
        return True
    except ImportError:
        pass
    debian = "/usr/lib/python3/dist-packages"
    sys.path.append(debian)
    try:
        import lark  # noqa: F401
        return True
    except ImportError:
        return False
    finally:
        sys.path.remove(debian)


# ---- Random prefix trees ---------------------------------------------------

# (name, arities to draw from): the operators with their operator arities most
# often, and the arities infix writes in call form now and then.
INFIX_FUNCTIONS = [
    ("plus", [2, 2, 2, 3, 4, 1]),
    ("times", [2, 2, 2, 3, 4, 1]),
    ("minus", [2, 2, 2, 2, 1, 3]),
    ("divide", [2, 2, 2, 2, 1, 3]),
    ("power", [2, 2, 2, 2, 1, 3]),
    ("neg", [1, 1, 1, 1, 2]),
    ("sin", [1]), ("cos", [1]), ("tan", [1]), ("exp", [1]), ("log", [1]), ("sqrt", [1]), ("abs", [1]),
    ("f", [1, 2]), ("g", [1, 3]),
]
INFIX_SYMBOLS = ["x", "y", "z", "a", "b", "alpha", "x_1", "Theta", "\u03b2", "e", "i", "pi"]

# What SymPy's LaTeX grammar reads: operators in their operator arities only,
# the named functions, one-letter and Greek names. (It has no \pi, nor
# \mathrm or \operatorname, so pi, longer names and other functions stay out.)
LATEX_FUNCTIONS = [
    ("plus", [2, 2, 3]), ("times", [2, 2, 3]), ("minus", [2]), ("divide", [2]), ("power", [2]), ("neg", [1]),
    ("sin", [1]), ("cos", [1]), ("tan", [1]), ("exp", [1]), ("log", [1]), ("sqrt", [1]), ("abs", [1]),
]
LATEX_SYMBOLS = ["x", "y", "z", "a", "b", "alpha", "theta", "e", "i"]

NUMBERS = ["0", "1", "2", "3", "7", "12", "-1", "-3", "0.5", "2.5", "0.25", "1.5"]
SMALL_EXPONENTS = ["-3", "-1", "0", "1", "2", "3", "4", "0.5"]


def random_tree(rng, functions, symbols, depth, numbers=NUMBERS, exponents=SMALL_EXPONENTS):
    """The prefix text of a random tree at most `depth` deep, its leaves drawn
    from `numbers` and `symbols`. Exponents are kept small (drawn from
    `exponents` and the first three symbols), so that evaluating never
    builds a huge number."""
    if depth == 0 or rng.random() < 0.25:
        return rng.choice(numbers) if rng.random() < 0.4 else rng.choice(symbols)
    name, arities = rng.choice(functions)
    arity = rng.choice(arities)
    args = []
    for k in range(arity):
        if name == "power" and k > 0:
            args.append(rng.choice(exponents + symbols[:3]))
        else:
            args.append(random_tree(rng, functions, symbols, depth - 1, numbers, exponents))
    return f"{name}({','.join(args)})"


# ---- SymPy's build of a prefix tree ---------------------------------------

CONSTANTS = {"e": sympy.E, "i": sympy.I, "pi": sympy.pi}
# The numeric engine's functions, then those the GiNaC engine adds.
NAMED = {"sin": sympy.sin, "cos": sympy.cos, "tan": sympy.tan, "exp": sympy.exp, "log": sympy.log,
         "sqrt": sympy.sqrt, "abs": sympy.Abs,
         "asin": sympy.asin, "acos": sympy.acos, "atan": sympy.atan, "sinh": sympy.sinh, "cosh": sympy.cosh,
         "tanh": sympy.tanh}


def symbol(name):
    return CONSTANTS.get(name) or sympy.Symbol(name)


def apply(name, args):
    """SymPy's expression for the function `name` applied to `args`: the
    operator or named function in the arities infix writes as such, an
    undefined function of that name otherwise."""
    n = len(args)
    if name == "plus" and n >= 2:
        return sympy.Add(*args)
    if name == "times" and n >= 2:
        return sympy.Mul(*args)
    if name == "minus" and n == 2:
        return args[0] - args[1]
    if name == "divide" and n == 2:
        return args[0] / args[1]
    if name == "power" and n == 2:
        return sympy.Pow(args[0], args[1])
    if name == "neg" and n == 1:
        return -args[0]
    if name in NAMED and n == 1:
        return NAMED[name](args[0])
    return sympy.Function(name)(*args)


def is_number_text(text):
    return all(c in "0123456789.-+" for c in text)


def from_prefix(text):
    """Reads the strict prefix text of a generated tree."""
    position = 0

    def expression():
        nonlocal position
        start = position
        while position < len(text) and text[position] not in "(),":
            position += 1
        token = text[start:position]
        if position < len(text) and text[position] == "(":
            args = []
            while text[position] != ")":
                position += 1  # "(" or ","
                args.append(expression())
            position += 1
            return apply(token, args)
        if is_number_text(token):
            return sympy.Float(token) if "." in token else sympy.Integer(token)
        return symbol(token)

    result = expression()
    assert position == len(text), text
    return result


def names_in(text):
    """The names of a prefix text, each with whether it names a function."""
    names = {}
    word = ""
    for c in text + ",":
        if c in "(),":
            if word and not is_number_text(word):
                names[word] = c == "("
            word = ""
        else:
            word += c
    return names


# ---- Comparison ---------------------------------------------------------------

def concrete(expression):
    """The expression with each undefined function made a definite one of
    its arguments, so that it has a value."""
    def value(call):
        name = type(call).__name__
        weight = sum(map(ord, name)) % 5 + 1
        return sympy.Add(*[(k + weight) * arg for k, arg in enumerate(call.args)]) + weight
    return expression.replace(lambda e: isinstance(e, AppliedUndef), value)


def numeric(expression, point):
    try:
        value = complex(concrete(expression).xreplace(point).evalf(30))
    except (TypeError, ValueError, ZeroDivisionError, OverflowError):
        return None
    return value if math.isfinite(value.real) and math.isfinite(value.imag) else None


def same(expected, got, rng):
    """True when `got` is `expected`: the same canonical expression, or the
    same value at a few random points (floats may round differently when
    SymPy groups a sum or product another way)."""
    if expected == got:
        return True
    free = sorted((expected.free_symbols | got.free_symbols), key=str)
    compared = 0
    for _ in range(4):
        point = {s: sympy.Float(rng.uniform(0.3, 1.7)) for s in free}
        a, b = numeric(expected, point), numeric(got, point)
        if a is None and b is None:
            continue
        if a is None or b is None or abs(a - b) > 1e-9 * max(1.0, abs(a), abs(b)):
            return False
        compared += 1
    if compared > 0:
        return True
    return sympy.simplify(concrete(expected) - concrete(got)) == 0


# ---- The two checks --------------------------------------------------------

def infix_local_dict(prefix):
    """Every name of the tree for parse_expr: symbols as symbols, e, i and pi
    as SymPy's constants, function names as the functions the prefix build
    uses for their calls."""
    local_dict = {}
    for name, called in names_in(prefix).items():
        if called:
            local_dict[name] = NAMED.get(name) or sympy.Function(name)
        else:
            local_dict[name] = symbol(name)
    return local_dict


# Juxtaposition in our LaTeX: a space that is no part of " + ", " - ",
# " \cdot ", ", " or the bars' "\left| " and " \right|". SymPy's grammar
# juxtaposes no factor after a power or a root (it fails on x^{2} y and
# \sqrt{x} y), which our output shows as such a space right after a "}".
JUXTAPOSITION = re.compile(r"(?<![+\-,|])(?<!\\cdot) (?![+\-] |\\cdot |\\right)")
AFTER_BRACE = re.compile(r"\}" + JUXTAPOSITION.pattern)


def read_latex(line):
    """SymPy's readings of a LaTeX line: one, or several where its grammar
    finds the line ambiguous (it lets \\sin, \\exp and \\log take in what
    follows their parentheses); and whether "\\cdot" had to stand for
    juxtaposition. Where SymPy cannot read a line that juxtaposes a factor
    after a power or root, it reads the line with a "\\cdot" for every
    juxtaposition: no product mixes the two, so each stays the same product.
    Its e and i are plain symbols: they become E and I."""
    from sympy.parsing.latex import parse_latex
    dotted = False
    try:
        result = parse_latex(line, backend="lark")
    except Exception:
        if not AFTER_BRACE.search(line):
            raise
        result = parse_latex(JUXTAPOSITION.sub(r" \\cdot ", line), backend="lark")
        dotted = True
    readings = []
    pending = [result]
    while pending:
        item = pending.pop()
        if isinstance(item, sympy.Basic):
            readings.append(item)
        else:  # lark's Tree of ambiguous readings
            pending.extend(getattr(item, "children", []))
    constants = {}
    for reading in readings:
        for s in reading.free_symbols:
            name = str(s.name)
            constants[s] = CONSTANTS.get(name) if name in ("e", "i") else sympy.Symbol(name)
    return [r.xreplace(constants) for r in readings], len(readings) > 1, dotted


def main():
    if len(sys.argv) < 3 or sys.argv[1] not in ("infix", "latex"):
        print(__doc__)
        return 2
    notation, tool = sys.argv[1], sys.argv[2]
    count = int(sys.argv[3]) if len(sys.argv) > 3 else (400 if notation == "infix" else 200)
    seed = int(sys.argv[4]) if len(sys.argv) > 4 else 14
    if notation == "latex" and not import_lark():
        print("skipped: lark cannot be imported (install Debian's python3-lark)")
        return SKIP
    rng = random.Random(seed)
    functions, symbols = (INFIX_FUNCTIONS, INFIX_SYMBOLS) if notation == "infix" else (LATEX_FUNCTIONS, LATEX_SYMBOLS)
    trees = [random_tree(rng, functions, symbols, rng.randint(1, 5)) for _ in range(count)]
    run = subprocess.run([tool, "--engine", "numeric", "print", "--to", notation], input="\n".join(trees) + "\n",
                         capture_output=True, text=True, encoding="utf-8")
    lines = run.stdout.split("\n")[:-1]
    if run.returncode != 0 or len(lines) != len(trees):
        print(f"the tool failed (status {run.returncode}, {len(lines)} lines for {len(trees)}):\n{run.stderr}")
        return 1
    failures = 0
    ambiguous = 0
    dotted = 0
    for prefix, line in zip(trees, lines):
        expected = from_prefix(prefix)
        try:
            if notation == "infix":
                readings = [parse_expr(line, local_dict=infix_local_dict(prefix),
                                       transformations=standard_transformations + (convert_xor,))]
            else:
                readings, was_ambiguous, was_dotted = read_latex(line)
                ambiguous += was_ambiguous
                dotted += was_dotted
            ok = any(same(expected, reading, rng) for reading in readings)
            got = " | ".join(map(str, readings))
        except Exception as error:  # SymPy could not read the line at all
            ok, got = False, f"{type(error).__name__}: {str(error).splitlines()[0] if str(error) else ''}"
        if not ok:
            failures += 1
            print(f"FAIL {prefix}\n  {notation}: {line}\n  SymPy read: {got}\n  expected:   {expected}")
    notes = []
    if ambiguous:
        notes.append(f"{ambiguous} ambiguous to SymPy's grammar, read our way among others")
    if dotted:
        notes.append(f"{dotted} read with \\cdot for juxtaposition after a power or root, which SymPy's grammar misses")
    note = f" ({'; '.join(notes)})" if notes else ""
    print(f"{len(trees) - failures} of {len(trees)} {notation} lines read back by SymPy {sympy.__version__}{note}")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
