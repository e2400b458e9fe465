# SPDX-License-Identifier: MIT
"""algexpr from Python: expression trees as values, their engines, SymPy.

    >>> import algexpr
    >>> x, y = algexpr.symbols("x y")
    >>> e = algexpr.parse("(x + 1)^2")
    >>> str(e.expand())
    'x^2 + 2*x + 1'

Grouping: ``+`` and ``*`` build flat sums and products, as SymPy's Add and
Mul are: ``x + y + 1`` is ``plus(x,y,1)``. The rule is one of trees, not of
how a value was made: ``a + b`` appends ``b`` to ``a`` when ``a``'s root is
``plus`` (``a * b`` likewise for ``times``), so with ``s = x + y``, ``s + 1``
is ``plus(x,y,1)``; ``s.group() + 1`` keeps ``plus(plus(x,y),1)``. The right
operand is never opened, and ``-`` and ``/`` nest: ``x - y - 1`` is
``minus(minus(x,y),1)``. ``==`` is structural equality; ``sort_key`` gives
the tree order (``<`` is not defined: it would read as a relation).

Numbers: Python ints of any size (within Python's own limit on the digits
of an int's text), ``fractions.Fraction`` (``divide(p,q)``) and finite
floats; NaN and infinities raise ValueError.
"""
from ._core import (EvaluationError, Expr, Session, SortKey, call, default_session, engines, operation,
                    sort_key, symbol)
from ._core import _Lambda, _read
from . import _sympy

__all__ = ["Expr", "Session", "ParseError", "EvaluationError", "parse", "symbols", "symbol", "call",
           "operation", "wild", "wilds", "sort_key", "from_sympy", "lambdify", "engines",
           "default_session"]


class ParseError(SyntaxError):
    """A text that does not read: ``msg``, ``lineno``, ``offset`` (the
    column, from 1, of the first character that does not read; None when the
    fault is nowhere in particular) and ``text``."""

    @property
    def column(self):
        return self.offset


def parse(text, notation="infix"):
    """The expression a text holds, in ``"infix"`` (``2*x^2 + sin(y)``) or
    ``"prefix"`` (``plus(times(2,power(x,2)),sin(y))``) notation."""
    if not isinstance(text, str):
        raise TypeError("parse takes a str, not " + type(text).__name__)
    try:
        return _read(text, notation)
    except TypeError:
        text.encode("utf-8")  # a lone surrogate: say so
        raise


def symbols(names):
    """Symbols from names separated by blanks or commas: ``x, y = symbols("x y")``;
    one name gives one symbol."""
    parts = names.replace(",", " ").split()
    made = tuple(symbol(name) for name in parts)
    return made[0] if len(made) == 1 else made


def wild(name, *conditions):
    """The pattern wildcard ``wild(name, conditions...)`` for ``Expr.match`` and rules."""
    return call("wild", symbol(name), *[c if isinstance(c, Expr) else symbol(c) for c in conditions])


def wilds(name):
    """A sequence wildcard: the rest of a function's arguments."""
    return call("wilds", symbol(name))


from_sympy = _sympy.from_sympy


class _Head:
    """What ``Expr.func`` gives: called on ``e.args`` it makes ``e`` again."""

    __slots__ = ("name", "_leaf")

    def __init__(self, name, leaf):
        self.name = name
        self._leaf = leaf

    def __call__(self, *args):
        if self._leaf is not None:
            if args:
                raise TypeError(self.name + " is a leaf: it takes no arguments")
            return self._leaf
        return call(self.name, *args)

    def __eq__(self, other):
        return isinstance(other, _Head) and other.name == self.name and other._leaf == self._leaf

    def __hash__(self):
        return hash(self.name)

    def __repr__(self):
        return "<algexpr head " + self.name + ">"


def _func(self):
    return _Head(self.name, self if self.kind not in ("function", "core_function") else None)


def _evaluate(name, *args, session=None, numeric=False):
    return (session or default_session()).execute(operation(name, *args), numeric)


def _list_of(result):
    return list(result.args) if result.kind == "core_function" and result.name == "list" else [result]


def _expand(self, session=None):
    """Products and integer powers multiplied out."""
    return _evaluate("expand", self, session=session)


def _factor(self, session=None):
    """Factored over the rationals."""
    return _evaluate("factor", self, session=session)


def _simplify(self, session=None):
    """The engine's simplified form (GiNaC: the rational normal form)."""
    return _evaluate("simplify", self, session=session)


def _diff(self, x, n=1, session=None):
    """The derivative by ``x``, ``n`` times."""
    return _evaluate("diff", self, x, session=session) if n == 1 else _evaluate("diff", self, x, n, session=session)


def _series(self, x, point=0, order=6, session=None):
    """The series in ``x`` around ``point`` up to ``order`` (with its order term)."""
    return _evaluate("series", self, x, point, order, session=session)


def _integrate(self, x, a=None, b=None, session=None):
    """An antiderivative by ``x``, or the integral from ``a`` to ``b`` (Giac)."""
    if (a is None) != (b is None):
        raise TypeError("integrate takes both bounds or none")
    if a is None:
        return _evaluate("integrate", self, x, session=session)
    return _evaluate("integrate", self, x, a, b, session=session)


def _limit(self, x, point, direction=0, session=None):
    """The limit as ``x`` tends to ``point``; ``direction`` 1 from above, -1 from below (Giac)."""
    if direction not in (0, 1, -1):
        raise ValueError("direction must be 0, 1 or -1")
    if direction == 0:
        return _evaluate("limit", self, x, point, session=session)
    return _evaluate("limit", self, x, point, direction, session=session)


def _solve(self, x, session=None):
    """The real solutions of ``self = 0`` (or of an equation), as a list (Giac)."""
    return _list_of(_evaluate("solve", self, x, session=session))


def _evalf(self, digits=None, session=None):
    """A number: an exact integer when the value is one, else a float of
    ``digits`` significant digits (GiNaC; the session's own by default)."""
    return (session or default_session()).evalf(self, digits)


def _execute(self, session=None, numeric=False):
    """The expression evaluated as it stands by the session's engine."""
    return (session or default_session()).execute(self, numeric)


def _sympy_(self):
    return _sympy.to_sympy(self)


for _name, _method in (("func", property(_func)), ("expand", _expand), ("factor", _factor),
                       ("simplify", _simplify), ("diff", _diff), ("series", _series),
                       ("integrate", _integrate), ("limit", _limit), ("solve", _solve),
                       ("evalf", _evalf), ("execute", _execute), ("_sympy_", _sympy_)):
    setattr(Expr, _name, _method)
del _name, _method


class _Lambdified:
    __slots__ = ("_program", "_count")

    def __init__(self, program, count):
        self._program = program
        self._count = count

    def __call__(self, *arrays):
        import numpy
        if len(arrays) != self._count:
            raise TypeError("expected %d arguments, got %d" % (self._count, len(arrays)))
        if not arrays:
            return float(self._program([], 1)[0])
        shaped = numpy.broadcast_arrays(*[numpy.asarray(a, dtype=numpy.float64) for a in arrays])
        shape = shaped[0].shape
        flat = [numpy.ascontiguousarray(a).reshape(-1) for a in shaped]
        out = self._program(flat, flat[0].size).reshape(shape)
        return out if shape else float(out)


def lambdify(args, expr):
    """A function of NumPy arrays (or numbers) computing ``expr`` at each
    point, with ``args`` (symbols) bound to the arguments in order; arrays
    broadcast as NumPy's do. The tree is compiled once into a flat program
    that runs in C++ over blocks of points, without the GIL."""
    if isinstance(args, Expr):
        args = [args]
    args = list(args)
    return _Lambdified(_Lambda(expr if isinstance(expr, Expr) else Expr(expr), args), len(args))
