# SPDX-License-Identifier: MIT
"""Conversion between algexpr trees and SymPy expressions, both ways without
text, by iterative walks (trees of any depth). SymPy is imported when first
needed. A SymPy function without a counterpart here becomes a named function
(gamma(x) is the call gamma(x)) and comes back as the SymPy function of that
name, or an undefined one; what has no counterpart at all (Integral,
Piecewise, zoo, nan, ...) raises ValueError."""
from . import _core

# Kinds of _postorder and _build.
_INTEGER, _FLOAT, _SYMBOL, _CORE_SYMBOL, _FUNCTION, _CORE_FUNCTION = range(6)

_tables = None


def _load():
    global _tables
    if _tables is None:
        import sympy
        unary = {"sin": sympy.sin, "cos": sympy.cos, "tan": sympy.tan, "exp": sympy.exp, "log": sympy.log,
                 "abs": sympy.Abs, "asin": sympy.asin, "acos": sympy.acos, "atan": sympy.atan,
                 "sinh": sympy.sinh, "cosh": sympy.cosh, "tanh": sympy.tanh, "conjugate": sympy.conjugate,
                 "real_part": sympy.re, "imag_part": sympy.im, "step": sympy.Heaviside,
                 "factorial": sympy.factorial}
        other = {"atan2": sympy.atan2, "binomial": sympy.binomial, "mod": sympy.Mod}
        to_sympy = dict(unary)
        to_sympy.update(other)
        to_sympy.update({
            "plus": lambda *a: sympy.Add(*a),
            "times": lambda *a: sympy.Mul(*a),
            "minus": lambda a, b=None: -a if b is None else a - b,
            "divide": lambda a, b: a / b,
            "power": lambda a, b: sympy.Pow(a, b),
            "neg": lambda a: -a,
            "sqrt": sympy.sqrt,
            "list": lambda *a: sympy.Tuple(*a),
            "equal": lambda a, b: sympy.Eq(a, b, evaluate=False),
            "order": lambda a: sympy.O(a),
        })
        symbols = {"pi": sympy.pi, "e": sympy.E, "i": sympy.I, "infinity": sympy.oo}
        from_sympy = {cls: name for name, cls in list(unary.items()) + list(other.items())}
        from_sympy.update({sympy.Add: "plus", sympy.Mul: "times", sympy.Pow: "power",
                           sympy.Tuple: "list", sympy.Equality: "equal", sympy.Order: "order"})
        constants = {sympy.pi: "pi", sympy.E: "e", sympy.I: "i", sympy.oo: "infinity"}
        _tables = (sympy, to_sympy, symbols, from_sympy, constants)
    return _tables


def _named_function(sympy, name):
    found = getattr(sympy, name, None)
    if isinstance(found, sympy.FunctionClass):
        return found
    return sympy.Function(name)


def to_sympy(expr):
    """The SymPy expression of a tree (what ``sympy.sympify(expr)`` calls)."""
    sympy, table, symbols, _, _ = _load()
    stack = []
    for kind, text, n in expr._postorder():
        if kind == _INTEGER:
            stack.append(sympy.Integer(int(text)))
            continue
        if kind == _FLOAT:
            # A double's digits make SymPy's double Float; more digits keep theirs.
            digits = sum(c.isdigit() for c in text.lower().split("e")[0].lstrip("-0.").replace(".", ""))
            stack.append(sympy.Float(float(text)) if digits <= 17 else sympy.Float(text))
            continue
        if kind == _SYMBOL:
            stack.append(sympy.Symbol(text))
            continue
        if kind == _CORE_SYMBOL:
            if text not in symbols:
                raise ValueError("SymPy has no counterpart for the core symbol " + text)
            stack.append(symbols[text])
            continue
        args = stack[len(stack) - n:]
        del stack[len(stack) - n:]
        build = table.get(text) if kind == _CORE_FUNCTION else None
        if build is None:
            build = _named_function(sympy, text)
        stack.append(build(*args))
    return stack[0]


def from_sympy(expr):
    """The tree of a SymPy expression: Add, Mul, Pow, Symbol, Integer,
    Rational, Float, I, pi, E, oo, the functions with a core name, Eq, Tuple,
    Order, and other functions by name."""
    sympy, _, _, table, constants = _load()
    if not isinstance(expr, sympy.Basic):
        raise TypeError("from_sympy takes a SymPy expression, not " + type(expr).__name__)
    ops = []
    stack = [(expr, False)]
    while stack:
        node, closing = stack.pop()
        if closing:
            ops.append(node)
            continue
        if node.is_Integer:
            ops.append((_INTEGER, str(node.p), 0))
        elif node.is_Rational:
            ops.extend(((_INTEGER, str(node.p), 0), (_INTEGER, str(node.q), 0), (_CORE_FUNCTION, "divide", 2)))
        elif node.is_Float:
            if not node.is_finite:
                raise ValueError("a SymPy Float that is not finite has no counterpart")
            text = repr(float(node)) if node._prec <= 53 else "inf"
            if text in ("inf", "-inf"):  # more digits, or beyond a double's range
                text = str(node)
            ops.append((_FLOAT, text, 0))
        elif node.is_Symbol:
            if isinstance(node, (sympy.Wild, sympy.Dummy)):
                raise ValueError("SymPy's " + type(node).__name__ + " has no counterpart")
            ops.append((_SYMBOL, node.name, 0))
        elif node in constants:
            ops.append((_CORE_SYMBOL, constants[node], 0))
        elif node is sympy.S.NegativeInfinity:
            ops.extend(((_CORE_SYMBOL, "infinity", 0), (_CORE_FUNCTION, "neg", 1)))
        else:
            args = node.args
            name = table.get(node.func)
            if node.func is sympy.Order:
                args = args[:1]
            elif node.func is sympy.Heaviside:
                args = args[:1]
            if name is not None:
                kind = _CORE_FUNCTION
            elif isinstance(node, sympy.Function) and args:
                kind, name = _FUNCTION, node.func.__name__
            else:
                raise ValueError("SymPy's " + type(node).__name__ + " has no counterpart in algexpr")
            if not args:
                raise ValueError("SymPy's " + type(node).__name__ + " has no arguments: no counterpart")
            stack.append(((kind, name, len(args)), True))
            for arg in reversed(args):
                stack.append((arg, False))
    return _core._build(ops)
