// SPDX-License-Identifier: MIT
#include "GenConverterC.h"

#include <cmath>
#include <memory>
#include <utility>

#include "MessageText.h"
#include "NumberTextC.h"
#include "Operations.h"
#include "Refusal.h"
#include "algexpr/CASSessionBC.h"
#include "algexpr/SymbolC.h"

namespace qorv::math::algexpr::giac::detail {

using support::IdT;
using support::NumberS;
using support::RealS;
using support::ResultGraphC;
using KindE = ResultGraphC::KindE;

namespace {

// What a symbolic node becomes.
enum class ActionE : unsigned char {
    Function,  // the vocabulary's `operation` of the arguments
    Sum,
    Product,
    Power,
    Inverse,   // a^-1
    Negation,  // -1 * a
    Root,      // a^(1/2)
    Order,     // the order term of the product of the arguments (1 without any)
    Call,      // an unknown function of the arguments
    Pdiff,     // a derivative of an unknown function's call, by an argument
    Pass,      // the one argument itself (unary plus)
    List,
};

struct HeadS {
    const char* giac;
    ActionE action;
    OperationE operation;
};

// Giac's functions that the vocabulary names.
const HeadS kHeads[] = {
    {"+", ActionE::Sum, OperationE::None},          {"*", ActionE::Product, OperationE::None},
    {"^", ActionE::Power, OperationE::None},        {"inv", ActionE::Inverse, OperationE::None},
    {"sqrt", ActionE::Root, OperationE::None},      {"sign", ActionE::Function, OperationE::Sign},
    {"=", ActionE::Function, OperationE::Equal},    {"sin", ActionE::Function, OperationE::Sin},
    {"cos", ActionE::Function, OperationE::Cos},    {"tan", ActionE::Function, OperationE::Tan},
    {"exp", ActionE::Function, OperationE::Exp},    {"ln", ActionE::Function, OperationE::Log},
    {"abs", ActionE::Function, OperationE::Abs},    {"asin", ActionE::Function, OperationE::Asin},
    {"acos", ActionE::Function, OperationE::Acos},  {"atan", ActionE::Function, OperationE::Atan},
    {"sinh", ActionE::Function, OperationE::Sinh},  {"cosh", ActionE::Function, OperationE::Cosh},
    {"tanh", ActionE::Function, OperationE::Tanh},  {"factorial", ActionE::Function, OperationE::Factorial},
    {"comb", ActionE::Function, OperationE::Binomial}, {"conj", ActionE::Function, OperationE::Conjugate},
    {"re", ActionE::Function, OperationE::RealPart}, {"im", ActionE::Function, OperationE::ImagPart},
    {"Heaviside", ActionE::Function, OperationE::Step}, {"atan2", ActionE::Function, OperationE::Atan2},
    {"erf", ActionE::Function, OperationE::Erf},    {"erfc", ActionE::Function, OperationE::Erfc},
    {"Gamma", ActionE::Function, OperationE::Gamma}, {"lgamma", ActionE::Function, OperationE::Lgamma},
    {"Zeta", ActionE::Function, OperationE::Zeta},  {"Si", ActionE::Function, OperationE::Si},
    {"Ci", ActionE::Function, OperationE::Ci},      {"floor", ActionE::Function, OperationE::Floor},
    {"ceil", ActionE::Function, OperationE::Ceil},  {"sec", ActionE::Function, OperationE::Sec},
    {"csc", ActionE::Function, OperationE::Csc},    {"cot", ActionE::Function, OperationE::Cot},
    {"asec", ActionE::Function, OperationE::Asec},  {"acsc", ActionE::Function, OperationE::Acsc},
    {"acot", ActionE::Function, OperationE::Acot},  {"min", ActionE::Function, OperationE::Min},
    {"max", ActionE::Function, OperationE::Max},    {"log10", ActionE::Function, OperationE::Log10},
};

// Why a head is refused, for those Giac gives where a value is missing.
const char16_t* refusalOf(const std::string& name) {
    if (name == "rootof") {
        return u"rootof: a root Giac names only as a root of a polynomial";
    }
    if (name == "bounded_function") {
        return u"no value: the function oscillates without a limit (bounded_function)";
    }
    if (name == "integrate") {
        return u"integrate: Giac found no antiderivative in closed form";
    }
    return nullptr;
}

// The arguments of a symbolic node: its vector, for operators (whatever the
// vector's subtype, which Giac does not keep as _SEQ__VECT everywhere) and
// for sequences; otherwise the one argument.
const ::giac::vecteur& argumentsOf(const ::giac::gen& feuille, ::giac::vecteur& single, bool operation = false) {
    if (feuille.type == ::giac::_VECT && (operation || feuille.subtype == ::giac::_SEQ__VECT)) {
        return *feuille._VECTptr;
    }
    single.clear();
    single.push_back(feuille);
    return single;
}

bool isSymbolic(const ::giac::gen& g, const char* name) {
    return g.type == ::giac::_SYMB && std::string(g._SYMBptr->sommet.ptr()->s) == name;
}

// A number Giac can multiply exactly or in floats, without symbols.
bool isNumber(const ::giac::gen& g) {
    switch (g.type) {
        case ::giac::_INT_:
        case ::giac::_ZINT:
        case ::giac::_DOUBLE_:
        case ::giac::_REAL:
            return true;
        case ::giac::_FRAC:
            return isNumber(g._FRACptr->num) && isNumber(g._FRACptr->den);
        case ::giac::_CPLX:
            return isNumber(g._CPLXptr[0]) && isNumber(g._CPLXptr[1]);
        default:
            return false;
    }
}

// inv(n) of a nonzero number n, as Giac keeps 1/3 in x/3.
bool isInverseNumber(const ::giac::gen& g) {
    return g.type == ::giac::_SYMB && g._SYMBptr->sommet == ::giac::at_inv && isNumber(g._SYMBptr->feuille) &&
           !::giac::is_zero(g._SYMBptr->feuille);
}

bool isWhole(const ::giac::gen& g) { return g.type == ::giac::_INT_ || g.type == ::giac::_ZINT; }

NumberS integerNumber(bool negative, const char* digits) { return NumberS::integer(negative, digits); }

}  // namespace

// Giac's values are 4-byte aligned but written as 8-byte words: each starts
// on an 8-byte boundary here.
struct GenConverterC::FrameS {
    alignas(8)::giac::gen value;
    alignas(8)::giac::gen name;  // Call, Pdiff: the unknown function's identifier
    bool expanded = false;
    ActionE action = ActionE::Function;
    OperationE operation = OperationE::None;
    std::size_t first = 0;       // its arguments' place on `values`
    std::uint32_t position = 0;  // Pdiff: the argument, 1-based

    explicit FrameS(const ::giac::gen& g) : value(g) {}
};

GenConverterC::GenConverterC(const ContextS& context) : context(context) {}

GenConverterC::~GenConverterC() = default;

IdT GenConverterC::convert(const ::giac::gen& value, ResultGraphC& target) {
    graph = &target;
    frames.clear();
    values.clear();
    symbols.clear();
    unknowns.clear();
    known.assign(static_cast<std::size_t>(OperationE::Count), support::kNoId);
    frames.push_back(FrameS(value));
    while (!frames.empty()) {
        if (!frames.back().expanded) {
            expand(frames.back());
            continue;
        }
        const FrameS frame = std::move(frames.back());
        frames.pop_back();
        parts.assign(values.begin() + static_cast<std::ptrdiff_t>(frame.first), values.end());
        values.resize(frame.first);
        values.push_back(checked(finish(frame, parts.data(), parts.size())));
    }
    return values.back();
}

IdT GenConverterC::checked(IdT id) {
    if (graph->size() > context.result_nodes) {
        throw RefusalC(u"the result has more than " + support::count(context.result_nodes) + u" nodes");
    }
    return id;
}

// Turns a node into its arguments' frames, or a leaf into a node at once.
void GenConverterC::expand(FrameS& frame) {
    const ::giac::gen g = frame.value;
    frame.first = values.size();
    ::giac::vecteur arguments;
    if (g.type == ::giac::_VECT) {
        frame.action = ActionE::List;
        arguments = *g._VECTptr;
    } else if (g.type == ::giac::_FRAC && !(isWhole(g._FRACptr->num) && isWhole(g._FRACptr->den)) &&
               !isNumber(g)) {
        // A quotient of other values: num * den^-1.
        frame.action = ActionE::Product;
        arguments.push_back(g._FRACptr->num);
        arguments.push_back(::giac::symbolic(::giac::at_inv, g._FRACptr->den));
    } else if (g.type != ::giac::_SYMB || signedInfinity(g)) {
        frames.pop_back();
        values.push_back(checked(g.type == ::giac::_SYMB ? infinity(g._SYMBptr->sommet == ::giac::at_neg) : leaf(g)));
        return;
    } else {
        classify(g, frame, arguments);
    }
    frame.expanded = true;
    for (std::size_t k = arguments.size(); k > 0; --k) {
        frames.push_back(FrameS(arguments[k - 1]));
    }
}

// Whether a symbolic node is +infinity or -infinity.
bool GenConverterC::signedInfinity(const ::giac::gen& g) {
    const ::giac::gen& feuille = g._SYMBptr->feuille;
    return feuille.type == ::giac::_IDNT && std::string(feuille._IDNTptr->id_name) == "infinity" &&
           (g._SYMBptr->sommet == ::giac::at_neg || std::string(g._SYMBptr->sommet.ptr()->s) == "+");
}

IdT GenConverterC::infinity(bool negative) {
    const IdT constant = function(OperationE::Infinity, nullptr, 0);
    return negative ? negated(constant) : constant;
}

// What a symbolic node becomes, and the arguments to read for it.
void GenConverterC::classify(const ::giac::gen& g, FrameS& frame, ::giac::vecteur& arguments) {
    const std::string head = g._SYMBptr->sommet.ptr()->s;
    ::giac::vecteur single;
    const bool operation = head == "+" || head == "*" || head == "^" || head == "=" || head == "of" || head == "diff";
    arguments = argumentsOf(g._SYMBptr->feuille, single, operation);
    if (g._SYMBptr->sommet == ::giac::at_neg) {
        frame.action = ActionE::Negation;
    } else if (head == "+" && arguments.size() == 1) {
        frame.action = ActionE::Pass;
    } else if (head == "*" || head == "order_size") {
        // The numbers of a product multiplied by Giac, the order_size
        // factors taken as the order term's mark.
        frame.action = head == "*" ? ActionE::Product : ActionE::Order;
        ::giac::vecteur kept;
        ::giac::gen coefficient(1);
        bool numbered = false;
        for (const ::giac::gen& factor : arguments) {
            if (isSymbolic(factor, "order_size")) {
                frame.action = ActionE::Order;
            } else if (head == "*" && (isNumber(factor) || isInverseNumber(factor))) {
                const ::giac::gen value =
                    isNumber(factor) ? factor : ::giac::rdiv(::giac::gen(1), factor._SYMBptr->feuille);
                coefficient = numbered ? ::giac::gen(coefficient * value) : value;
                numbered = true;
            } else if (head == "*") {
                kept.push_back(factor);
            }
        }
        if (numbered) {
            kept.insert(kept.begin(), coefficient);
        }
        arguments.swap(kept);
    } else if (head == "of" && arguments.size() == 2) {
        applied(frame, arguments);
    } else if (head == "diff" && arguments.size() == 2 && isSymbolic(arguments[0], "of") &&
               arguments[1].type == ::giac::_IDNT) {
        derivative(frame, arguments);
    } else if (const char16_t* refusal = refusalOf(head)) {
        throw RefusalC(refusal);
    } else {
        const HeadS* known_head = nullptr;
        for (const HeadS& candidate : kHeads) {
            known_head = known_head == nullptr && head == candidate.giac ? &candidate : known_head;
        }
        if (known_head == nullptr) {
            throw RefusalC(support::utf16(head) + u": a function of Giac's that the vocabulary does not name");
        }
        frame.action = known_head->action;
        frame.operation = known_head->operation;
    }
}

// of(f, arguments): an unknown function applied, or its derivative
// diff(f)(a) or diff(f,k)(a,...), by argument 1 or k + 1.
void GenConverterC::applied(FrameS& frame, ::giac::vecteur& arguments) {
    const ::giac::gen f = arguments[0];
    ::giac::vecteur inner;
    arguments = argumentsOf(::giac::gen(arguments[1]), inner);
    frame.action = ActionE::Call;
    if (isBinomialName(f)) {
        frame.action = ActionE::Function;
        frame.operation = OperationE::Binomial;
        return;
    }
    if (f.type == ::giac::_IDNT) {
        frame.name = f;
        return;
    }
    if (!isSymbolic(f, "diff") && !isSymbolic(f, "function_diff")) {
        throw RefusalC(u"of: a function applied that the vocabulary cannot write");
    }
    ::giac::vecteur by;
    const ::giac::vecteur& pieces = argumentsOf(f._SYMBptr->feuille, by);
    const bool plain = pieces.size() == 1 || (pieces.size() == 2 && pieces[1].type == ::giac::_INT_ &&
                                              pieces[1].val >= 0 && pieces[1].val < 1000000);
    if (!plain || pieces[0].type != ::giac::_IDNT) {
        throw RefusalC(u"pdiff: a derivative of an unknown function that the vocabulary cannot write");
    }
    frame.name = pieces[0];
    frame.position = pieces.size() == 1 ? 1 : static_cast<std::uint32_t>(pieces[1].val) + 1;
    frame.action = ActionE::Pdiff;
}

// diff(f(a,...),x), x one of the arguments: the derivative by it.
void GenConverterC::derivative(FrameS& frame, ::giac::vecteur& arguments) {
    const ::giac::gen x = arguments[1];
    ::giac::vecteur pair;
    const ::giac::vecteur call = argumentsOf(arguments[0]._SYMBptr->feuille, pair, true);
    ::giac::vecteur inner;
    arguments = call.size() == 2 ? argumentsOf(call[1], inner) : ::giac::vecteur();
    for (std::size_t k = 0; k < arguments.size() && frame.position == 0; ++k) {
        frame.position = arguments[k] == x ? static_cast<std::uint32_t>(k + 1) : 0;
    }
    if (frame.position == 0 || call[0].type != ::giac::_IDNT) {
        throw RefusalC(u"pdiff: a derivative of an unknown function that the vocabulary cannot write");
    }
    frame.name = call[0];
    frame.action = ActionE::Pdiff;
}

IdT GenConverterC::finish(const FrameS& frame, const IdT* arguments, std::size_t count) {
    switch (frame.action) {
        case ActionE::Function:
            if (frame.operation == OperationE::Exp && count == 1 && graph->kind(arguments[0]) == KindE::Number &&
                graph->numberOf(arguments[0]).real.isOne() && !graph->numberOf(arguments[0]).complex) {
                return graph->constant(ResultGraphC::ConstantE::E);
            }
            return function(frame.operation, arguments, count);
        case ActionE::List:
            return function(OperationE::List, arguments, count);
        case ActionE::Sum:
            return sum(arguments, count);
        case ActionE::Product:
            return product(arguments, count);
        case ActionE::Power:
            return power(arguments[0], arguments[1]);
        case ActionE::Inverse:
            return power(arguments[0], graph->number(integerNumber(true, "1")));
        case ActionE::Negation:
            return negated(arguments[0]);
        case ActionE::Root: {
            NumberS half = integerNumber(false, "1");
            half.real.form = RealS::FormE::Rational;
            half.real.denominator = "2";
            return graph->power(arguments[0], graph->number(half));
        }
        case ActionE::Order:
            return graph->order(count == 0 ? graph->number(integerNumber(false, "1")) : product(arguments, count));
        case ActionE::Call:
            return graph->function(unknown(frame.name), arguments, count);
        case ActionE::Pdiff: {
            ResultGraphC::DerivativeS derivative{unknown(frame.name), {frame.position - 1}};
            return graph->derivative(graph->addDerivative(std::move(derivative)), arguments, count);
        }
        case ActionE::Pass:
            break;
    }
    return arguments[0];
}

// A sum of sums as one: Giac nests them at times.
IdT GenConverterC::sum(const IdT* terms, std::size_t count) {
    if (count == 1) {
        return terms[0];
    }
    std::vector<IdT> flat;
    for (std::size_t i = 0; i < count; ++i) {
        if (graph->kind(terms[i]) != KindE::Sum) {
            flat.push_back(terms[i]);
            continue;
        }
        const IdT* inner = graph->children(terms[i]);
        flat.insert(flat.end(), inner, inner + graph->node(terms[i]).count);
    }
    return graph->sum(flat.data(), flat.size());
}

// A product of products as one, with one number: the classification left
// at most one number among the parts, and a part's own coefficient joins
// it where one of the two is 1 or -1 (a negation); otherwise that part
// stays a factor of its own.
IdT GenConverterC::product(const IdT* parts_in, std::size_t count) {
    if (count == 1) {
        return parts_in[0];
    }
    IdT coefficient = support::kNoId;
    std::vector<IdT> factors;
    const auto join = [this, &coefficient](IdT c) {
        if (c == support::kNoId || coefficient == support::kNoId) {
            coefficient = coefficient == support::kNoId ? c : coefficient;
            return true;
        }
        const NumberS& a = graph->numberOf(coefficient);
        const NumberS& b = graph->numberOf(c);
        const bool unit_a = !a.complex && (a.real.isOne() || a.real.isMinusOne());
        const bool unit_b = !b.complex && (b.real.isOne() || b.real.isMinusOne());
        if (!unit_a && !unit_b) {
            return false;
        }
        const NumberS joined = unit_a ? (a.real.isOne() ? b : b.negated()) : (b.real.isOne() ? a : a.negated());
        coefficient = graph->number(joined);
        return true;
    };
    for (std::size_t i = 0; i < count; ++i) {
        const IdT part = parts_in[i];
        const KindE kind = graph->kind(part);
        if (kind == KindE::Number) {
            if (!join(part)) {
                throw RefusalC(u"the result holds a product of two numbers");
            }
        } else if (kind == KindE::Product && join(graph->node(part).data)) {
            const IdT* inner = graph->children(part);
            factors.insert(factors.end(), inner, inner + graph->node(part).count);
        } else {
            factors.push_back(part);
        }
    }
    if (coefficient != support::kNoId && graph->numberOf(coefficient).real.isOne() &&
        !graph->numberOf(coefficient).complex) {
        coefficient = support::kNoId;
    }
    if (factors.empty()) {
        return coefficient == support::kNoId ? graph->number(integerNumber(false, "1")) : coefficient;
    }
    if (factors.size() == 1 && coefficient == support::kNoId) {
        return factors[0];
    }
    return graph->product(coefficient, factors.data(), factors.size());
}

// base^exponent, a power of a power made one where that holds for every
// complex base: (b^k)^-1 is b^-k for an exact k (Giac's 1/x^2), and
// (b^-1)^m is b^-m for a whole m (Giac's (1/x)^3), so that their degree
// in x shows.
IdT GenConverterC::power(IdT base, IdT exponent) {
    const auto exact = [this](IdT id) {
        return graph->kind(id) == KindE::Number && !graph->numberOf(id).complex &&
               graph->numberOf(id).real.form != RealS::FormE::Float;
    };
    if (graph->kind(base) == KindE::Power && exact(exponent) && exact(graph->child(base, 1))) {
        const NumberS& outer = graph->numberOf(exponent);
        const NumberS& inner = graph->numberOf(graph->child(base, 1));
        if (outer.real.isMinusOne()) {
            return graph->power(graph->child(base, 0), graph->number(inner.negated()));
        }
        if (inner.real.isMinusOne() && outer.real.form == RealS::FormE::Integer) {
            return graph->power(graph->child(base, 0), graph->number(outer.negated()));
        }
    }
    return graph->power(base, exponent);
}

// The negation of a node: a number with its sign turned, a product with its
// coefficient's, anything else times -1.
IdT GenConverterC::negated(IdT id) {
    if (graph->kind(id) == KindE::Number) {
        return graph->number(graph->numberOf(id).negated());
    }
    const IdT minus_one = graph->number(integerNumber(true, "1"));
    const IdT pair[] = {minus_one, id};
    return product(pair, 2);
}

IdT GenConverterC::leaf(const ::giac::gen& value) {
    if (value.type != ::giac::_IDNT) {
        return graph->number(number(value));
    }
    const std::string name = value._IDNTptr->id_name;
    if (name == "pi") {
        return graph->constant(ResultGraphC::ConstantE::Pi);
    }
    if (name == "infinity") {
        throw RefusalC(u"no value: the result is infinite without a sign");
    }
    if (name == "undef") {
        throw RefusalC(u"no value: Giac's result is undefined (undef)");
    }
    return symbol(value);
}

NumberS GenConverterC::number(const ::giac::gen& value) {
    NumberS result;
    const bool split = value.type == ::giac::_FRAC && isNumber(value) &&
                       !(isWhole(value._FRACptr->num) && isWhole(value._FRACptr->den));
    if (value.type != ::giac::_CPLX && !split) {
        result.real = real(value);
        return result;
    }
    // A complex number, or a quotient with one (-i/2 for i*inv(2)): its
    // parts, as values of our own on 8-byte boundaries (inside Giac's complex
    // numbers they are not, though Giac reads them as 8-byte words).
    alignas(8) const ::giac::gen re_part = ::giac::re(value, nullptr);
    alignas(8) const ::giac::gen im_part = ::giac::im(value, nullptr);
    result.real = real(re_part);
    result.imag = real(im_part);
    result.complex = !result.imag.isZero();
    if (!result.complex) {
        result.imag = RealS();
    }
    return result;
}

RealS GenConverterC::real(const ::giac::gen& value) {
    switch (value.type) {
        case ::giac::_INT_:
        case ::giac::_ZINT:
            return integer(value);
        case ::giac::_DOUBLE_:
        case ::giac::_REAL: {
            const double d = value.type == ::giac::_REAL ? value._REALptr->evalf_double() : value._DOUBLE_val;
            if (std::isnan(d)) {
                throw RefusalC(u"no value: Giac's result is not a number");
            }
            RealS r;
            r.form = RealS::FormE::Float;
            r.negative = std::signbit(d) && d != 0.0;
            if (std::isinf(d)) {
                r.digits = "1";
                r.exponent = 999;  // beyond every double: reads back as an infinite float
            } else {
                support::NumberTextC::digitsOf(std::fabs(d), 0, false, r.digits, r.exponent);
            }
            return r;
        }
        case ::giac::_FRAC:
            if (isWhole(value._FRACptr->num) && isWhole(value._FRACptr->den)) {
                RealS r = integer(value._FRACptr->num);
                const RealS d = integer(value._FRACptr->den);
                r.form = RealS::FormE::Rational;
                r.denominator = d.digits;
                r.negative = r.negative != d.negative;
                return r;
            }
            break;
        default:
            break;
    }
    throw RefusalC(u"a kind of value of Giac's that the vocabulary cannot write");
}

RealS GenConverterC::integer(const ::giac::gen& value) {
    RealS r;
    if (value.type == ::giac::_INT_) {
        const long long v = value.val;
        r.negative = v < 0;
        r.digits = std::to_string(v < 0 ? -v : v);
        return r;
    }
    const std::size_t digits = mpz_sizeinbase(*value._ZINTptr, 10);
    if (digits > context.integer_digits + 1) {
        throw RefusalC(u"the result has an integer of more than " + support::count(context.integer_digits) +
                       u" digits");
    }
    std::string text(digits + 2, '\0');
    mpz_get_str(&text[0], 10, *value._ZINTptr);
    text.resize(std::char_traits<char>::length(text.c_str()));
    r.negative = !text.empty() && text[0] == '-';
    r.digits = r.negative ? text.substr(1) : text;
    if (r.digits.size() > context.integer_digits) {
        throw RefusalC(u"the result has an integer of more than " + support::count(context.integer_digits) +
                       u" digits");
    }
    return r;
}

IdT GenConverterC::symbol(const ::giac::gen& identifier) {
    const std::string key = identifier._IDNTptr->id_name;
    auto found = symbols.find(key);
    if (found == symbols.end()) {
        qorv::oss::PointerTC<SymbolC> s = context.session.lookupSymbol(ourName(identifier, false));
        if (!s) {
            throw std::bad_alloc();
        }
        found = symbols.emplace(key, graph->addSymbol(std::move(s))).first;
    }
    return graph->symbol(found->second);
}

// A function of the vocabulary, written with its code where the session
// has one and by its name otherwise.
IdT GenConverterC::function(OperationE operation, const IdT* arguments, std::size_t count) {
    IdT& index = known[static_cast<std::size_t>(operation)];
    if (index == support::kNoId) {
        ResultGraphC::FunctionS f;
        f.name = Words::nameOf(operation);
        f.code = context.codes[static_cast<std::size_t>(operation)];
        f.constant = Words::isConstant(operation);
        index = graph->addFunction(std::move(f));
    }
    return graph->function(index, arguments, count);
}

// The graph function of an unknown function's identifier.
IdT GenConverterC::unknown(const ::giac::gen& identifier) {
    const std::string key = identifier._IDNTptr->id_name;
    auto found = unknowns.find(key);
    if (found == unknowns.end()) {
        ResultGraphC::FunctionS f;
        f.name = ourName(identifier, true);
        f.unknown = true;
        f.symbol = context.session.lookupSymbol(f.name);
        if (!f.symbol) {
            throw std::bad_alloc();
        }
        found = unknowns.emplace(key, graph->addFunction(std::move(f))).first;
    }
    return found->second;
}

std::u16string GenConverterC::ourName(const ::giac::gen& identifier, bool function) const {
    const std::string name = identifier._IDNTptr->id_name;
    const auto found = context.names.find(name);
    if (found == context.names.end()) {
        throw RefusalC(support::utf16(name) + (function ? u": a function of Giac's that the vocabulary does not name"
                                                        : u": a constant of Giac's that the vocabulary does not name"));
    }
    return found->second;
}

}  // namespace qorv::math::algexpr::giac::detail
