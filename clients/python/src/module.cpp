// SPDX-License-Identifier: MIT
// The extension module algexpr._core: expressions as Python values, reading
// and printing, tree operations, sessions and compiled numeric evaluation.
// The package algexpr (clients/python/algexpr) puts the Python face on it.
//
// Every name and number goes through the library's current session. When
// none is current at the first call that needs one, the module installs the
// session of the widest vocabulary it was built with (GiNaC's, else the
// numeric client's), so that every engine's operations read as core
// functions; the first Session made before that is installed instead.
#include <pybind11/numpy.h>
#include <pybind11/pybind11.h>
#include <pybind11/stl.h>

#include <cmath>
#include <cstdint>
#include <memory>
#include <mutex>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "algexpr/algexpr.h"
#include "algexpr/numeric.h"
#ifdef ALGEXPR_PY_WITH_GINAC
#include "algexpr/ginac.h"
#endif
#ifdef ALGEXPR_PY_WITH_GIAC
#include "algexpr/giac.h"
#endif

#include "ExprValueC.h"
#include "LambdaProgramC.h"

namespace py = pybind11;
using namespace qorv::math::algexpr;
using qorv::math::algexpr::python::ExprValueC;
using qorv::math::algexpr::python::LambdaProgramC;
using qorv::oss::PointerTC;

namespace {

struct EvaluationError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

std::u16string u16(const std::string& text) { return Utf8C::toUtf16(text); }
std::string u8(const std::u16string& text) { return Utf8C::toUtf8(text); }

// A session as Python holds it.
struct SessionHandleS {
    PointerTC<CASSessionBC> session;
    std::string kind;
#ifdef ALGEXPR_PY_WITH_GINAC
    ginac::GinacSessionC* ginac_p = nullptr;
#endif
    std::shared_ptr<std::mutex> digits_mutex = std::make_shared<std::mutex>();
};

// The session evaluations use when none is named: the first one made, or
// the one installed for want of any. Never freed: it may hold an engine's
// thread, which must not be joined while the process exits.
SessionHandleS*& defaultSession() {
    static SessionHandleS* handle = nullptr;
    return handle;
}

SessionHandleS makeSession(const std::string& kind) {
    SessionHandleS handle;
    handle.kind = kind;
    if (kind == "numeric") {
        handle.session = PointerTC<CASSessionBC>(new numeric::NumericSessionC());
#ifdef ALGEXPR_PY_WITH_GINAC
    } else if (kind == "ginac") {
        auto* s = new ginac::GinacSessionC();
        handle.session = PointerTC<CASSessionBC>(s);
        handle.ginac_p = s;
#endif
#ifdef ALGEXPR_PY_WITH_GIAC
    } else if (kind == "giac") {
        auto* s = new giac::GiacSessionC();
        handle.session = PointerTC<CASSessionBC>(s);
        s->setFilterStandardStreams(true);
#endif
    } else if (kind == "ginac" || kind == "giac") {
        throw py::value_error("the " + kind + " engine was not built into this module");
    } else {
        throw py::value_error("unknown engine '" + kind + "': use \"ginac\", \"giac\" or \"numeric\"");
    }
    return handle;
}

// The first session made becomes the current one (when none is) and the
// default of evaluations.
SessionHandleS install(SessionHandleS handle) {
    if (!CASSessionBC::getSession()) {
        CASSessionBC::setSession(handle.session);
    }
    if (defaultSession() == nullptr) {
        defaultSession() = new SessionHandleS(handle);
    }
    return handle;
}

void ensureSession() {
    if (CASSessionBC::getSession()) {
        return;
    }
#ifdef ALGEXPR_PY_WITH_GINAC
    install(makeSession("ginac"));
#else
    install(makeSession("numeric"));
#endif
}

[[noreturn]] void raiseParseError(const std::string& message, const std::string& text, std::size_t line,
                                  py::object column) {
    py::object type = py::module_::import("algexpr").attr("ParseError");
    py::object error = type(message, py::make_tuple("<algexpr>", line, column, text));
    PyErr_SetObject(type.ptr(), error.ptr());
    throw py::error_already_set();
}

// A UTF-16 position as the index of the code point there.
std::size_t codePointIndex(const std::u16string& text, std::size_t position) {
    std::size_t index = 0;
    for (std::size_t k = 0; k < position && k < text.size(); ++k) {
        if (text[k] < 0xDC00 || text[k] > 0xDFFF) {
            ++index;
        }
    }
    return index;
}

ExprValueC fromExprC(ExprC e) {
    if (!e) {
        throw py::value_error(u8(e.error()));
    }
    return ExprValueC(e.release());
}

ExprValueC fromExpression(const PointerTC<AlgebraicExpressionC>& expression) {
    if (!expression || expression->getNode() == nullptr) {
        throw std::bad_alloc();
    }
    auto owner = std::make_shared<PointerTC<AlgebraicExpressionC>>(expression);
    return ExprValueC(std::shared_ptr<const NodeABC>(owner, expression->getNode()));
}

ExprC copyOf(const ExprValueC& value) {
    NodeABC* copy = value.node()->clone();
    if (copy == nullptr) {
        throw std::bad_alloc();
    }
    ExprC e = ExprC::adopt(copy);
    if (value.isGroup()) {
        return group(std::move(e));
    }
    return e;
}

ExprC checked(ExprC e) {
    if (!e) {
        throw py::value_error(u8(e.error()));
    }
    return e;
}

ExprC integerFrom(py::handle number) {
    py::object index = py::reinterpret_steal<py::object>(PyNumber_Index(number.ptr()));
    if (!index) {
        throw py::error_already_set();
    }
    int overflow = 0;
    const long long value = PyLong_AsLongLongAndOverflow(index.ptr(), &overflow);
    if (overflow == 0) {
        if (value == -1 && PyErr_Occurred()) {
            throw py::error_already_set();
        }
        return checked(ExprC(static_cast<std::int64_t>(value)));
    }
    const std::string text = py::str(index);  // Python's own limit on digits applies
    ExprC e = checked(ExprC::number(u16(text)));
    if (!isA<IntegerNodeC>(e.node()) || u8(e.node()->toString()) != text) {
        throw py::value_error("the current session's integers cannot hold an integer of " +
                              std::to_string(text.size()) + " digits");
    }
    return e;
}

// Python's value as a tree; false for a type that has none (the operators
// then answer NotImplemented). Throws for a value of the right type that
// has no exact tree (NaN, infinities).
bool toExprC(py::handle object, ExprC& out) {
    if (py::isinstance<ExprValueC>(object)) {
        out = copyOf(object.cast<const ExprValueC&>());
        return true;
    }
    if (PyBool_Check(object.ptr())) {
        return false;
    }
    ensureSession();
    if (PyFloat_Check(object.ptr())) {
        const double value = PyFloat_AsDouble(object.ptr());
        if (!std::isfinite(value)) {
            throw py::value_error("a float that is not finite (" + std::string(py::str(object)) +
                                  ") has no exact form as an expression");
        }
        out = checked(ExprC(value));
        return true;
    }
    if (PyLong_Check(object.ptr()) || PyIndex_Check(object.ptr())) {
        out = integerFrom(object);
        return true;
    }
    // Never released: a Python object must not outlive the interpreter.
    static const py::object* const fraction = new py::object(py::module_::import("fractions").attr("Fraction"));
    if (py::isinstance(object, *fraction)) {
        ExprC p = integerFrom(object.attr("numerator"));
        py::object q = object.attr("denominator");
        if (py::int_(q).cast<long long>() == 1) {
            out = std::move(p);
        } else {
            out = checked(ExprC::operate(u"divide", false, std::move(p), integerFrom(q)));
        }
        return true;
    }
    return false;
}

ExprC toExprCOrThrow(py::handle object) {
    ExprC e;
    if (!toExprC(object, e)) {
        throw py::type_error("cannot make an expression from a " +
                             std::string(py::str(py::type::handle_of(object).attr("__name__"))));
    }
    return e;
}

py::object binary(const char16_t* name, bool chain, py::handle a, py::handle b) {
    ExprC left;
    ExprC right;
    if (!toExprC(a, left) || !toExprC(b, right)) {
        return py::reinterpret_borrow<py::object>(Py_NotImplemented);
    }
    return py::cast(fromExprC(ExprC::operate(name, chain, std::move(left), std::move(right))));
}

std::string textOf(const NodeABC* node, NotationE notation) {
    std::u16string why;
    std::u16string text = toText(node, notation, 0, qorv::math::Standard, &why);
    if (text.empty() && !why.empty()) {
        throw py::value_error(u8(why));
    }
    return u8(text);
}

std::string infixOrPrefix(const NodeABC* node) {
    std::u16string text = toText(node, NotationE::Infix);
    return u8(text.empty() ? toText(node, NotationE::Prefix) : text);
}

py::object readText(const std::string& text, const std::string& notation) {
    ensureSession();
    const std::u16string t = u16(text);
    ReadResultC result;
    if (notation == "prefix") {
        result = AlgebraicExpressionC::readPrefix(t);
    } else if (notation == "infix") {
        InfixReaderC reader;
        result = reader.readResult(t);
    } else {
        throw py::value_error("notation must be \"infix\" or \"prefix\"");
    }
    if (result.ok()) {
        return py::cast(fromExpression(result.tree()));
    }
    if (result.reason() == ReadResultC::ReasonE::OutOfMemory) {
        throw std::bad_alloc();
    }
    py::object column = py::none();
    if (result.position() != ReadResultC::kNoPosition) {
        column = py::int_(codePointIndex(t, result.position()) + 1);
    }
    raiseParseError(result.message(), text, 1, column);
}

// The kinds _postorder and _build speak of.
enum KindE { Integer = 0, Float, Symbol, CoreSymbol, Function, CoreFunction, Other };

int kindOf(const NodeABC* node) {
    if (isA<IntegerNodeC>(node)) return Integer;
    if (isA<FloatNodeC>(node)) return Float;
    if (isA<ExtendedSymbolNodeC>(node)) return Symbol;
    if (isA<CoreSymbolNodeC>(node)) return CoreSymbol;
    if (isA<CoreFunctionNodeC>(node)) return CoreFunction;
    if (isA<ParentNodeABC>(node)) return Function;
    return Other;
}

std::size_t argumentCount(const NodeABC* node) {
    const ParentNodeABC* parent = dynCast<ParentNodeABC>(node);
    if (parent == nullptr) {
        return 0;
    }
    std::size_t n = 0;
    for (const NodeABC* child : parent->children()) {
        n += child != nullptr ? 1 : 0;
    }
    return n;
}

// The tree in post-order, (kind, text, arguments) a node.
py::list postorder(const ExprValueC& value) {
    py::list out;
    for (const NodeABC* node : postOrder(value.node())) {
        out.append(py::make_tuple(kindOf(node), u8(node->toString()), argumentCount(node)));
    }
    return out;
}

// A tree from (kind, text, arguments) in post-order; each node must come out
// of the kind asked, so that nothing changes meaning on the way.
ExprValueC build(const py::list& ops) {
    ensureSession();
    std::vector<ExprC> stack;
    for (py::handle op : ops) {
        auto item = op.cast<std::tuple<int, std::string, std::size_t>>();
        const int kind = std::get<0>(item);
        const std::u16string text = u16(std::get<1>(item));
        const std::size_t n = std::get<2>(item);
        ExprC e;
        if (kind == Integer || kind == Float) {
            e = checked(ExprC::number(text));
        } else if (kind == Symbol || kind == CoreSymbol) {
            e = checked(ExprC::symbol(text));
        } else if (kind == Function || kind == CoreFunction) {
            if (n == 0 || n > stack.size()) {
                throw py::value_error("a call of " + std::get<1>(item) + " without its arguments");
            }
            e = checked(ExprC::apply(text, true, stack.data() + (stack.size() - n), n));
            stack.resize(stack.size() - n);
        } else {
            throw py::value_error("unknown node kind");
        }
        // A function by name may be a core one (an operation that went
        // through SymPy as a named function); a symbol may not.
        const int made = kindOf(e.node());
        if (made != kind && !(kind == Function && made == CoreFunction)) {
            static const char* const names[] = {"an integer", "a float", "a symbol", "a core symbol",
                                                "a function", "a core function"};
            throw py::value_error("'" + std::get<1>(item) + "' does not make " + names[kind] +
                                  " in the current session's vocabulary");
        }
        stack.push_back(std::move(e));
    }
    if (stack.size() != 1) {
        throw py::value_error("the operations do not make one tree");
    }
    return fromExprC(std::move(stack.back()));
}

ExprValueC callOf(const std::string& name, bool core_only, const py::args& arguments) {
    ensureSession();
    std::vector<ExprC> list;
    for (py::handle argument : arguments) {
        list.push_back(toExprCOrThrow(argument));
    }
    if (list.empty()) {
        throw py::value_error("a call needs at least one argument (" + name + "() would not read back)");
    }
    return fromExprC(ExprC::apply(u16(name), !core_only, list.data(), list.size()));
}

py::object execute(const SessionHandleS& handle, const ExprValueC& value, bool numeric) {
    PointerTC<AlgebraicExpressionC> held = copyOf(value).toExpression();
    if (!held) {
        throw std::bad_alloc();
    }
    PointerTC<AlgebraicExpressionC> result;
    std::u16string why;
    {
        py::gil_scoped_release unlocked;
        result = held->execute(handle.session, numeric, &why);
    }
    if (!result) {
        throw EvaluationError(why.empty() ? "no result" : u8(why));
    }
    return py::cast(fromExpression(result));
}

py::object evalf(const SessionHandleS& handle, const ExprValueC& value, py::object digits) {
    if (digits.is_none()) {
        return execute(handle, value, true);
    }
#ifdef ALGEXPR_PY_WITH_GINAC
    if (handle.ginac_p != nullptr) {
        const auto wanted = digits.cast<unsigned long>();
        std::lock_guard<std::mutex> lock(*handle.digits_mutex);
        const unsigned long before = handle.ginac_p->getDigits();
        std::u16string message;
        if (!handle.ginac_p->setDigits(wanted, &message)) {
            throw py::value_error(u8(message));
        }
        try {
            py::object result = execute(handle, value, true);
            handle.ginac_p->setDigits(before);
            return result;
        } catch (...) {
            handle.ginac_p->setDigits(before);
            throw;
        }
    }
#endif
    throw py::value_error("the " + handle.kind + " engine computes floats as doubles: its digits cannot be set");
}

SessionHandleS configure(const std::string& kind, py::object digits, py::object real, py::dict limits) {
    SessionHandleS handle = makeSession(kind);
#ifdef ALGEXPR_PY_WITH_GINAC
    if (handle.ginac_p != nullptr) {
        if (!digits.is_none()) {
            std::u16string message;
            if (!handle.ginac_p->setDigits(digits.cast<unsigned long>(), &message)) {
                throw py::value_error(u8(message));
            }
        }
        if (!real.is_none()) {
            std::vector<std::u16string> names;
            for (py::handle name : real) {
                names.push_back(u16(py::isinstance<ExprValueC>(name)
                                        ? u8(name.cast<const ExprValueC&>().node()->toString())
                                        : name.cast<std::string>()));
            }
            handle.ginac_p->setRealSymbols(std::move(names));
        }
        ginac::GinacLimitsS set = handle.ginac_p->getLimits();
        for (auto [key, bound] : limits) {
            const std::string name = py::str(key);
            const auto n = bound.cast<std::size_t>();
#define ALGEXPR_PY_LIMIT(field) \
    if (name == #field) {       \
        set.field = n;          \
        continue;               \
    }
            ALGEXPR_PY_LIMIT(depth) ALGEXPR_PY_LIMIT(diff_depth) ALGEXPR_PY_LIMIT(simplify_depth)
            ALGEXPR_PY_LIMIT(series_depth) ALGEXPR_PY_LIMIT(parts_depth) ALGEXPR_PY_LIMIT(integer_digits)
            ALGEXPR_PY_LIMIT(total_digits) ALGEXPR_PY_LIMIT(expand_terms) ALGEXPR_PY_LIMIT(polynomial_terms)
            ALGEXPR_PY_LIMIT(expand_digits) ALGEXPR_PY_LIMIT(denominator_degree) ALGEXPR_PY_LIMIT(factor_degree)
            ALGEXPR_PY_LIMIT(factor_multivariate_degree) ALGEXPR_PY_LIMIT(factor_multivariate_terms)
            ALGEXPR_PY_LIMIT(diff_order) ALGEXPR_PY_LIMIT(series_order) ALGEXPR_PY_LIMIT(result_nodes)
#undef ALGEXPR_PY_LIMIT
            throw py::value_error("the ginac engine has no limit '" + name + "'");
        }
        handle.ginac_p->setLimits(set);
        return handle;
    }
#endif
    if (!digits.is_none()) {
        throw py::value_error("the " + kind + " engine computes floats as doubles: its digits cannot be set");
    }
    if (!real.is_none() && kind != "giac") {
        throw py::value_error("the numeric engine has no symbols to make real");
    }
#ifdef ALGEXPR_PY_WITH_GIAC
    if (kind == "giac" && limits.size() > 0) {
        auto* giac_p = static_cast<giac::GiacSessionC*>(handle.session.get());
        giac::GiacEngineC::LimitsS set = giac_p->getLimits();
        for (auto [key, bound] : limits) {
            const std::string name = py::str(key);
            const auto n = bound.cast<std::size_t>();
            if (name == "depth") set.depth = n;
            else if (name == "result_nodes") set.result_nodes = n;
            else if (name == "integer_digits") set.integer_digits = n;
            else if (name == "polynomial_terms") set.polynomial_terms = n;
            else throw py::value_error("the giac engine has no limit '" + name + "'");
        }
        if (!giac_p->setLimits(set)) {
            throw py::value_error("the giac engine's limits must be above 0");
        }
        return handle;
    }
#endif
    if (limits.size() > 0) {
        throw py::value_error("the " + kind + " engine has no limits to set");
    }
    return handle;
}

SessionHandleS newSession(const std::string& kind, py::object digits, py::object real, py::dict limits) {
    return install(configure(kind, std::move(digits), std::move(real), std::move(limits)));
}

py::object matchOf(const ExprValueC& value, const ExprValueC& pattern) {
    PatternC compiled;
    std::u16string problem;
    if (!compiled.compile(pattern.node(), PatternC::SettingsS(), &problem)) {
        throw py::value_error(u8(problem));
    }
    MatcherC matcher;
    switch (matcher.match(compiled, value.node())) {
    case MatchResultE::NoMatch: return py::none();
    case MatchResultE::GaveUp: throw std::runtime_error("the match gave up: too many orders of arguments to try");
    case MatchResultE::OutOfMemory: throw std::bad_alloc();
    case MatchResultE::Matched: break;
    }
    py::dict bindings;
    for (std::size_t w = 0; w < compiled.wildcardCount(); ++w) {
        const std::string name = u8(compiled.wildcardName(w));
        if (compiled.isSequence(w)) {
            py::list items;
            for (std::size_t k = 0; k < matcher.bindingCount(w); ++k) {
                items.append(ExprValueC(value, matcher.bindingAt(w, k)));
            }
            bindings[py::str(name)] = py::tuple(items);
        } else if (matcher.bindingCount(w) > 0) {
            bindings[py::str(name)] = ExprValueC(value, matcher.bindingAt(w, 0));
        }
    }
    return bindings;
}

ExprValueC replaceWith(const ExprValueC& value, const std::string& rules, const std::string& notation) {
    if (notation != "infix" && notation != "prefix") {
        throw py::value_error("notation must be \"infix\" or \"prefix\"");
    }
    ensureSession();
    RuleReaderC reader(notation == "prefix" ? RuleReaderC::prefix() : RuleReaderC::infix(), RuleReaderC::FormE::Rules);
    std::vector<RuleReaderC::LineS> lines;
    RuleReaderC::ErrorS error;
    RewriterC rewriter;
    if (!reader.read(u16(rules), lines, error) || !RuleReaderC::addTo(lines, rewriter, error)) {
        std::string line;
        std::size_t at = 1;
        for (char c : rules) {
            if (c == '\n') {
                ++at;
            } else if (at == error.line) {
                line += c;
            }
        }
        raiseParseError(u8(error.message), line, error.line, py::int_(error.column));
    }
    RewriterC::ResultS result = rewriter.rewrite(value.node());
    if (result.status == RewriterC::StatusE::OutOfMemory || !result.tree) {
        throw std::bad_alloc();
    }
    if (result.status == RewriterC::StatusE::BudgetSpent) {
        throw std::runtime_error("the rules were applied " + std::to_string(result.steps) +
                                 " times and still apply: they may loop");
    }
    return ExprValueC(result.tree.release());
}

ExprValueC substitute(const ExprValueC& value, py::object mapping) {
    py::object pairs = py::hasattr(mapping, "items") ? mapping.attr("items")() : mapping;
    SubstitutionC substitution;
    std::vector<ExprC> held;
    std::vector<std::pair<ExprValueC, std::size_t>> keys;
    for (py::handle pair : pairs) {
        auto both = pair.cast<std::pair<py::object, py::object>>();
        if (!py::isinstance<ExprValueC>(both.first)) {
            throw py::type_error("subs replaces symbols: a key is not an expression");
        }
        keys.emplace_back(both.first.cast<ExprValueC>(), held.size());
        held.push_back(toExprCOrThrow(both.second));
    }
    for (const auto& [key, k] : keys) {
        const NodeABC* node = key.node();
        bool added = false;
        if (isA<ExtendedSymbolNodeC>(node)) {
            added = substitution.add(node->toString(), held[k].node());
        } else if (const auto* core = dynCast<CoreSymbolNodeC>(node)) {
            added = substitution.add(core->getCode(), held[k].node());
        } else {
            throw py::value_error("subs replaces symbols: " + infixOrPrefix(node) + " is not one");
        }
        if (!added) {
            throw py::value_error("subs: " + infixOrPrefix(node) + " is given twice");
        }
    }
    NodeABC* result = substitution.apply(value.node());
    if (result == nullptr) {
        throw std::bad_alloc();
    }
    return ExprValueC(result);
}

struct SortKeyS {
    ExprValueC value;
};

struct LambdaS {
    LambdaProgramC program;
};

// Expr: construction, structure, comparison and hashing.
void defineExprStructure(py::class_<ExprValueC>& expr) {
    expr.def(py::init([](py::object value) { return fromExprC(toExprCOrThrow(value)); }), py::arg("value"))
        .def_property_readonly("kind", [](const ExprValueC& e) {
            static const char* const names[] = {"integer", "float", "symbol", "core_symbol",
                                                "function", "core_function", "other"};
            return names[kindOf(e.node())];
        })
        .def_property_readonly("name", [](const ExprValueC& e) { return u8(e.node()->toString()); })
        .def_property_readonly("args", [](const ExprValueC& e) {
            py::list items;
            if (const ParentNodeABC* parent = dynCast<ParentNodeABC>(e.node())) {
                for (const NodeABC* child : parent->children()) {
                    if (child != nullptr) {
                        items.append(ExprValueC(e, child));
                    }
                }
            }
            return py::tuple(items);
        })
        .def("__iter__", [](const ExprValueC& e) {
            py::list items;
            for (const NodeABC* node : preOrder(e.node())) {
                items.append(ExprValueC(e, node));
            }
            return py::iter(items);
        })
        .def("__eq__", [](const ExprValueC& a, py::object b) -> py::object {
            if (!py::isinstance<ExprValueC>(b)) return py::reinterpret_borrow<py::object>(Py_NotImplemented);
            return py::bool_(equalTrees(a.node(), b.cast<const ExprValueC&>().node()));
        })
        .def("__ne__", [](const ExprValueC& a, py::object b) -> py::object {
            if (!py::isinstance<ExprValueC>(b)) return py::reinterpret_borrow<py::object>(Py_NotImplemented);
            return py::bool_(!equalTrees(a.node(), b.cast<const ExprValueC&>().node()));
        })
        .def("__hash__", [](const ExprValueC& e) { return static_cast<py::ssize_t>(hashTree(e.node())); });
}

// Expr: arithmetic operators and texts.
void defineExprOperators(py::class_<ExprValueC>& expr) {
    expr.def("__add__", [](py::object a, py::object b) { return binary(u"plus", true, a, b); })
        .def("__radd__", [](py::object a, py::object b) { return binary(u"plus", true, b, a); })
        .def("__sub__", [](py::object a, py::object b) { return binary(u"minus", false, a, b); })
        .def("__rsub__", [](py::object a, py::object b) { return binary(u"minus", false, b, a); })
        .def("__mul__", [](py::object a, py::object b) { return binary(u"times", true, a, b); })
        .def("__rmul__", [](py::object a, py::object b) { return binary(u"times", true, b, a); })
        .def("__truediv__", [](py::object a, py::object b) { return binary(u"divide", false, a, b); })
        .def("__rtruediv__", [](py::object a, py::object b) { return binary(u"divide", false, b, a); })
        .def("__pow__", [](py::object a, py::object b) { return binary(u"power", false, a, b); })
        .def("__rpow__", [](py::object a, py::object b) { return binary(u"power", false, b, a); })
        .def("__neg__", [](const ExprValueC& a) {
            ExprC e = copyOf(a);
            return fromExprC(ExprC::apply(u"neg", false, &e, 1));
        })
        .def("__pos__", [](const ExprValueC& a) { return a; })
        .def("__str__", [](const ExprValueC& e) { return infixOrPrefix(e.node()); })
        .def("__repr__", [](const ExprValueC& e) {
            return "algexpr.parse(" + std::string(py::repr(py::str(u8(toText(e.node(), NotationE::Prefix))))) +
                   ", notation='prefix')";
        })
        .def("prefix", [](const ExprValueC& e) { return textOf(e.node(), NotationE::Prefix); })
        .def("infix", [](const ExprValueC& e) { return textOf(e.node(), NotationE::Infix); })
        .def("latex", [](const ExprValueC& e) { return textOf(e.node(), NotationE::Latex); })
        .def("_repr_latex_", [](const ExprValueC& e) { return "$" + textOf(e.node(), NotationE::Latex) + "$"; })
        .def("__reduce__", [](const ExprValueC& e) {
            return py::make_tuple(py::module_::import("algexpr").attr("parse"),
                                  py::make_tuple(u8(toText(e.node(), NotationE::Prefix)), "prefix"));
        });
}

// Expr: grouping, symbols, substitution, matching and size.
void defineExprQueries(py::class_<ExprValueC>& expr) {
    expr.def_property_readonly("is_group", &ExprValueC::isGroup)
        .def("group", &ExprValueC::grouped)
        .def_property_readonly("free_symbols", [](const ExprValueC& e) {
            std::vector<std::u16string> names;
            if (!freeSymbols(e.node(), names)) throw std::bad_alloc();
            py::set out;
            for (const auto& name : names) out.add(fromExprC(ExprC::symbol(name)));
            return out;
        })
        .def("has", [](const ExprValueC& e, py::object part) {
            ExprC sub = toExprCOrThrow(part);
            return hasSubtree(e.node(), sub.node());
        })
        .def("subs", &substitute, py::arg("mapping"))
        .def("match", &matchOf, py::arg("pattern"))
        .def("replace", &replaceWith, py::arg("rules"), py::arg("notation") = "infix")
        .def("size", [](const ExprValueC& e) { return treeSize(e.node()); })
        .def("depth", [](const ExprValueC& e) { return treeDepth(e.node()); })
        .def("_postorder", &postorder);
}

// The tree order as a sort key.
void defineSortKey(py::module_& m) {
    py::class_<SortKeyS>(m, "SortKey")
        .def("__lt__", [](const SortKeyS& a, const SortKeyS& b) { return compareTrees(a.value.node(), b.value.node()) < 0; })
        .def("__le__", [](const SortKeyS& a, const SortKeyS& b) { return compareTrees(a.value.node(), b.value.node()) <= 0; })
        .def("__gt__", [](const SortKeyS& a, const SortKeyS& b) { return compareTrees(a.value.node(), b.value.node()) > 0; })
        .def("__ge__", [](const SortKeyS& a, const SortKeyS& b) { return compareTrees(a.value.node(), b.value.node()) >= 0; })
        .def("__eq__", [](const SortKeyS& a, const SortKeyS& b) { return compareTrees(a.value.node(), b.value.node()) == 0; });
    m.def("sort_key", [](const ExprValueC& e) { return SortKeyS{e}; }, py::arg("expr"),
          "The tree order (numbers, symbols, functions) as a key: sorted(exprs, key=algexpr.sort_key).");
}

// Sessions and the engines there are.
void defineSessions(py::module_& m) {
    py::class_<SessionHandleS>(m, "Session")
        .def(py::init(&newSession), py::arg("engine") = "ginac", py::kw_only(), py::arg("digits") = py::none(),
             py::arg("real") = py::none(), py::arg("limits") = py::dict())
        .def_readonly("engine", &SessionHandleS::kind)
        .def_property_readonly("is_current", [](const SessionHandleS& s) {
            return CASSessionBC::getSession() == s.session;
        })
        .def("execute", &execute, py::arg("expr"), py::arg("numeric") = false)
        .def("evalf", &evalf, py::arg("expr"), py::arg("digits") = py::none())
        .def("__repr__", [](const SessionHandleS& s) { return "algexpr.Session('" + s.kind + "')"; });
    m.def("default_session", []() {
        ensureSession();
        if (defaultSession() == nullptr) {
            throw std::runtime_error("the current session was installed outside this module");
        }
        return *defaultSession();
    });
    m.def("engines", []() {
        std::vector<std::string> kinds;
#ifdef ALGEXPR_PY_WITH_GINAC
        kinds.push_back("ginac");
#endif
#ifdef ALGEXPR_PY_WITH_GIAC
        kinds.push_back("giac");
#endif
        kinds.push_back("numeric");
        return kinds;
    });
}

// Reading texts and building trees.
void defineBuilding(py::module_& m) {
    m.def("_read", &readText, py::arg("text"), py::arg("notation"));
    m.def("_from_prefix", [](const std::string& text) { return readText(text, "prefix"); });
    m.def("_build", &build);
    m.def("symbol", [](const std::string& name) {
        ensureSession();
        return fromExprC(ExprC::symbol(u16(name)));
    });
    m.def("call", [](const std::string& name, py::args arguments) { return callOf(name, false, arguments); });
    m.def("operation", [](const std::string& name, py::args arguments) { return callOf(name, true, arguments); });
}

// lambdify's compiled programs, evaluated over NumPy arrays.
void defineLambda(py::module_& m) {
    py::class_<LambdaS>(m, "_Lambda")
        .def(py::init([](const ExprValueC& e, const std::vector<ExprValueC>& arguments) {
            std::vector<std::u16string> names;
            for (const ExprValueC& a : arguments) {
                if (!isA<ExtendedSymbolNodeC>(a.node())) {
                    throw py::value_error("lambdify's arguments must be symbols");
                }
                names.push_back(a.node()->toString());
            }
            auto lambda = std::make_unique<LambdaS>();
            std::string why;
            if (!lambda->program.compile(e.node(), names, why)) {
                throw py::value_error("cannot evaluate numerically: " + why);
            }
            return lambda;
        }))
        .def("__call__", [](const LambdaS& lambda,
                            const std::vector<py::array_t<double, py::array::c_style | py::array::forcecast>>& inputs,
                            std::size_t count) {
            if (inputs.size() != lambda.program.argumentCount()) {
                throw py::type_error("expected " + std::to_string(lambda.program.argumentCount()) + " arguments");
            }
            std::vector<const double*> data;
            for (const auto& input : inputs) {
                if (static_cast<std::size_t>(input.size()) != count) {
                    throw py::value_error("the arguments' sizes differ");
                }
                data.push_back(input.data());
            }
            py::array_t<double> out(static_cast<py::ssize_t>(count));
            double* target = out.mutable_data();
            {
                py::gil_scoped_release unlocked;
                lambda.program.evaluate(data, count, target);
            }
            return out;
        });
}

}  // namespace

PYBIND11_MODULE(_core, m) {
    m.doc() = "algexpr's expression trees, sessions and numeric evaluation (see the package algexpr)";
    py::register_exception<EvaluationError>(m, "EvaluationError", PyExc_ArithmeticError);

    py::class_<ExprValueC> expr(m, "Expr");
    defineExprStructure(expr);
    defineExprOperators(expr);
    defineExprQueries(expr);
    defineSortKey(m);
    defineSessions(m);
    defineBuilding(m);
    defineLambda(m);
}
