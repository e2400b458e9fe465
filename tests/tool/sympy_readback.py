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
canonical expression, or else the same value at random points. The LaTeX
trees have names with subscripts, powers of functions, \arcsin and \arctan,
and equations (a vocabulary with equal given by --core-names). The forms
that SymPy's LaTeX grammar cannot read back are listed in UNREADABLE, and
checked to be so.

Exits 77 (skipped) when SymPy, or for LaTeX lark, cannot be imported.
Standard library and SymPy only; Debian's lark is borrowed for the import.
"""
import math
import os
import random
import re
import subprocess
import sys
import tempfile

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


def run_tool(tool, words, lines):
    """The tool's output lines for the input lines (empty where a line
    failed), its status and its messages."""
    run = subprocess.run([tool] + words, input="\n".join(lines) + "\n", capture_output=True, text=True,
                         encoding="utf-8")
    out = run.stdout.split("\n")[:-1]
    if len(out) != len(lines):
        raise RuntimeError(f"{' '.join(words)}: {len(out)} lines for {len(lines)} (status {run.returncode}):\n"
                           f"{run.stderr}")
    return out, run.returncode, run.stderr


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
# "trigpower" makes power(sin(...),n) and the like, which are written
# \sin^{n}\left(...\right). (SymPy's grammar has subscripts of one digit
# or of letters only, and no capital Greek letters.)
LATEX_FUNCTIONS = [
    ("plus", [2, 2, 3]), ("times", [2, 2, 3]), ("minus", [2]), ("divide", [2]), ("power", [2]), ("neg", [1]),
    ("sin", [1]), ("cos", [1]), ("tan", [1]), ("exp", [1]), ("log", [1]), ("sqrt", [1]), ("abs", [1]),
    ("asin", [1]), ("atan", [1]), ("trigpower", [1]),
]
LATEX_SYMBOLS = ["x", "y", "z", "a", "b", "alpha", "theta", "e", "i", "x_1", "omega_0", "t_a"]
# The vocabulary the LaTeX trees are written with: the numeric engine's,
# with equal.
LATEX_CORE_NAMES = ["plus", "minus", "times", "divide", "power", "neg", "sin", "cos", "tan", "exp", "log", "sqrt",
                    "abs", "pi", "e", "asin", "atan", "equal"]

# What our LaTeX writes that SymPy's grammar cannot read back: each form
# with what it stands for. Checked to be unreadable (read as something
# else, or not at all); one that SymPy learns is reported.
X, Y = sympy.Symbol("x"), sympy.Symbol("y")
UNREADABLE = [
    (r"\square", "the empty slot _", None),
    (r"x + O\left(x^{6}\right)", "the order term", X + sympy.O(X ** 6)),
    (r"\operatorname{f}'\left(x\right)", "a derivative f'(x)", sympy.Derivative(sympy.Function("f")(X), X)),
    (r"\partial_{2} \operatorname{g}\left(x, y\right)", "a partial derivative",
     sympy.Derivative(sympy.Function("g")(X, Y), Y)),
    (r"\left[ 1, 2 \right]", "a list", sympy.Tuple(1, 2)),
    (r"\arctan^{2}\left(x\right)", "a power of \\arctan (or \\arcsin)", sympy.atan(X) ** 2),
    (r"x_{12}", "a subscript of two digits", sympy.Symbol("x_12")),
    (r"\Omega_{0}", "a capital Greek letter", sympy.Symbol("Omega_0")),
]

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
    if name == "trigpower":
        base = f"{rng.choice(['sin', 'cos', 'tan'])}({random_tree(rng, functions, symbols, depth - 1, numbers, exponents)})"
        return f"power({base},{rng.choice(exponents + symbols[:3])})"
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


class Equation:
    """equal(a,b): compared side by side, as SymPy may decide an Eq of two
    numbers."""

    def __init__(self, lhs, rhs):
        self.lhs, self.rhs = lhs, rhs

    def __str__(self):
        return f"{self.lhs} = {self.rhs}"


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
    if name == "equal" and n == 2:
        return Equation(*args)
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
    SymPy groups a sum or product another way); for an equation, side by
    side."""
    if isinstance(expected, Equation):
        if isinstance(got, sympy.Equality):
            return same(expected.lhs, got.lhs, rng) and same(expected.rhs, got.rhs, rng)
        return isinstance(got, sympy.logic.boolalg.BooleanAtom) and sympy.Eq(expected.lhs, expected.rhs) == got
    if isinstance(got, sympy.Equality):
        return False
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
            name = re.sub(r"_\{(\w+)\}$", r"_\1", str(s.name))  # x_{1} is x_1
            constants[s] = CONSTANTS.get(name) if name in ("e", "i") else sympy.Symbol(name)
    return [r.xreplace(constants) for r in readings], len(readings) > 1, dotted


def unreadable_forms(rng):
    """Checks that SymPy still cannot read back each form of UNREADABLE;
    the forms it now reads, with their notes."""
    learnt = []
    for line, what, meant in UNREADABLE:
        try:
            readings, _, _ = read_latex(line)
        except Exception:
            continue
        if meant is not None and any(alike(meant, reading, rng) for reading in readings):
            learnt.append(f"{what} ({line})")
    return learnt


def alike(meant, reading, rng):
    """same(), for readings of any kind (the grammar's ambiguous readings
    include relations)."""
    try:
        return same(meant, reading, rng)
    except (TypeError, ValueError, AttributeError):
        return False


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
    options = []
    if notation == "latex":
        # \arcsin^{2} and \arctan^{2} are in UNREADABLE; a tenth are equations.
        trees = [t for t in trees if not re.search(r"power\(a(sin|tan)\(", t)]
        trees = [f"equal({t},{random_tree(rng, functions, symbols, 2)})" if rng.random() < 0.1 else t for t in trees]
        with tempfile.NamedTemporaryFile("w", suffix=".names", delete=False) as names:
            names.write("\n".join(LATEX_CORE_NAMES) + "\n")
        options = ["--core-names", names.name]
    run = subprocess.run([tool, "--engine", "numeric", *options, "print", "--to", notation],
                         input="\n".join(trees) + "\n", capture_output=True, text=True, encoding="utf-8")
    if options:
        os.unlink(options[1])
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
    if notation == "latex":
        failures += latex_forms(lines, rng)
    return 1 if failures else 0


# The LaTeX forms the random lines must show, so that SymPy reads each back.
LATEX_FORMS = [("names with subscripts", r"_\{"), ("powers of functions", r"\\(sin|cos|tan)\^\{"),
               ("\\arcsin", r"\\arcsin\\left"), ("\\arctan", r"\\arctan\\left"), ("equations", r" = ")]


def latex_forms(lines, rng):
    """Reports how many lines show each form of LATEX_FORMS (a failure when
    one is missing) and the forms SymPy cannot read back; the failures."""
    counts = [(what, sum(1 for line in lines if re.search(pattern, line))) for what, pattern in LATEX_FORMS]
    print("read back with " + ", ".join(f"{what}: {n} lines" for what, n in counts))
    learnt = unreadable_forms(rng)
    print(f"{len(UNREADABLE)} forms SymPy cannot read back, left out: " + "; ".join(w for _, w, _ in UNREADABLE))
    if learnt:
        print("SymPy now reads back: " + "; ".join(learnt))
    missing = [what for what, n in counts if n == 0]
    if missing:
        print("no line shows: " + ", ".join(missing))
    return len(missing)


if __name__ == "__main__":
    sys.exit(main())
