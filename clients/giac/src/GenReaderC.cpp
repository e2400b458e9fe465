// SPDX-License-Identifier: MIT
#include "GenReaderC.h"

#include <cstdlib>
#include <memory>
#include <utility>

#include "RefusalC.h"
#include "algexpr/Utf8C.h"

namespace qorv::math::algexpr::giac::detail {

using KindE = ResultFormC::KindE;

namespace {

// What a symbolic node becomes.
enum class ActionE : unsigned char {
    Function,  // the vocabulary function `name` of the arguments
    Sum,
    Product,
    Power,
    Inverse,    // a^-1
    Negation,   // -1 * a
    Root,       // a^(1/2)
    Sign,       // abs(a) * a^-1
    Order,      // order(a): the factors of a product beside order_size
    Call,       // an unknown function of the arguments
    Pdiff,      // pdiff of an unknown function's call, by an argument
    Equal,
    List,
    Pass,       // the one argument itself (unary plus)
};

struct HeadS {
    const char* giac;
    ActionE action;
    const char16_t* name;
};

// Giac's functions that the vocabulary names.
const HeadS kHeads[] = {
    {"+", ActionE::Sum, u""},          {"*", ActionE::Product, u""},      {"^", ActionE::Power, u""},
    {"inv", ActionE::Inverse, u""},    {"sqrt", ActionE::Root, u""},      {"sign", ActionE::Sign, u""},
    {"=", ActionE::Equal, u""},        {"sin", ActionE::Function, u"sin"}, {"cos", ActionE::Function, u"cos"},
    {"tan", ActionE::Function, u"tan"}, {"exp", ActionE::Function, u"exp"}, {"ln", ActionE::Function, u"log"},
    {"abs", ActionE::Function, u"abs"}, {"asin", ActionE::Function, u"asin"}, {"acos", ActionE::Function, u"acos"},
    {"atan", ActionE::Function, u"atan"}, {"sinh", ActionE::Function, u"sinh"},
    {"cosh", ActionE::Function, u"cosh"}, {"tanh", ActionE::Function, u"tanh"},
    {"factorial", ActionE::Function, u"factorial"}, {"comb", ActionE::Function, u"binomial"},
    {"conj", ActionE::Function, u"conjugate"}, {"re", ActionE::Function, u"real_part"},
    {"im", ActionE::Function, u"imag_part"}, {"Heaviside", ActionE::Function, u"step"},
    {"atan2", ActionE::Function, u"atan2"},
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

std::u16string widen(const std::string& text) { return Utf8C::toUtf16(text); }

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

}  // namespace

struct GenReaderC::FrameS {
    ::giac::gen value;
    bool expanded = false;
    ActionE action = ActionE::Function;
    std::u16string name;
    std::size_t first = 0;      // its arguments' place on `values`
    std::uint32_t position = 0;  // Pdiff: the argument, 1-based

    explicit FrameS(const ::giac::gen& g) : value(g) {}
};

GenReaderC::GenReaderC(const std::unordered_map<std::string, std::u16string>& names, std::size_t max_nodes,
                       std::size_t max_integer_digits)
    : names(names), max_nodes(max_nodes), max_integer_digits(max_integer_digits) {}

GenReaderC::~GenReaderC() = default;

void GenReaderC::read(const ::giac::gen& value, ResultFormC& form) {
    form_p = &form;
    frames.clear();
    values.clear();
    frames.push_back(FrameS(value));
    while (!frames.empty()) {
        if (frames.back().expanded) {
            const FrameS frame = std::move(frames.back());
            frames.pop_back();
            finish(frame);
        } else {
            expand(frames.back());
        }
    }
}

std::uint32_t GenReaderC::add(KindE kind, std::u16string text, const std::vector<std::uint32_t>& arguments) {
    if (form_p->size() >= max_nodes) {
        throw RefusalC(u"the result has more than " + widen(std::to_string(max_nodes)) + u" nodes");
    }
    return form_p->add(kind, std::move(text), arguments);
}

// Turns a node into its arguments' frames, or a leaf into an item at once.
void GenReaderC::expand(FrameS& frame) {
    const ::giac::gen g = frame.value;
    frame.first = values.size();
    ::giac::vecteur arguments;
    const auto whole = [](const ::giac::gen& part) { return part.type == ::giac::_INT_ || part.type == ::giac::_ZINT; };
    if (g.type == ::giac::_VECT) {
        frame.action = ActionE::List;
        arguments = *g._VECTptr;
    } else if (g.type == ::giac::_FRAC && !(whole(g._FRACptr->num) && whole(g._FRACptr->den))) {
        // A quotient of other values: num * den^-1.
        frame.action = ActionE::Product;
        arguments.push_back(g._FRACptr->num);
        arguments.push_back(::giac::symbolic(::giac::at_inv, g._FRACptr->den));
    } else if (g.type != ::giac::_SYMB || signedInfinity(g)) {
        frames.pop_back();
        values.push_back(g.type == ::giac::_SYMB ? infinity(g) : leaf(g));
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
bool GenReaderC::signedInfinity(const ::giac::gen& g) {
    const ::giac::gen& feuille = g._SYMBptr->feuille;
    return feuille.type == ::giac::_IDNT && std::string(feuille._IDNTptr->id_name) == "infinity" &&
           (g._SYMBptr->sommet == ::giac::at_neg || std::string(g._SYMBptr->sommet.ptr()->s) == "+");
}

// The item of +infinity or -infinity.
std::uint32_t GenReaderC::infinity(const ::giac::gen& g) {
    const std::uint32_t constant = add(KindE::Constant, u"infinity", {});
    if (g._SYMBptr->sommet != ::giac::at_neg) {
        return constant;
    }
    return add(KindE::Product, u"", {add(KindE::Integer, u"-1", {}), constant});
}

// What a symbolic node becomes, and the arguments to read for it.
void GenReaderC::classify(const ::giac::gen& g, FrameS& frame, ::giac::vecteur& arguments) {
    const std::string head = g._SYMBptr->sommet.ptr()->s;
    ::giac::vecteur single;
    const bool operation = head == "+" || head == "*" || head == "^" || head == "=" || head == "of" || head == "diff";
    arguments = argumentsOf(g._SYMBptr->feuille, single, operation);
    if (g._SYMBptr->sommet == ::giac::at_neg) {
        frame.action = ActionE::Negation;
    } else if (head == "+" && arguments.size() == 1) {
        frame.action = ActionE::Pass;
    } else if (head == "*" || head == "order_size") {
        frame.action = head == "*" ? ActionE::Product : ActionE::Order;
        ::giac::vecteur kept;
        for (const ::giac::gen& factor : arguments) {
            if (isSymbolic(factor, "order_size")) {
                frame.action = ActionE::Order;
            } else if (head == "*") {
                kept.push_back(factor);
            }
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
        const HeadS* known = nullptr;
        for (const HeadS& candidate : kHeads) {
            known = known == nullptr && head == candidate.giac ? &candidate : known;
        }
        if (known == nullptr) {
            throw RefusalC(widen(head) + u": a function of Giac's that the vocabulary does not name");
        }
        frame.action = known->action;
        frame.name = known->name;
    }
}

// of(f, arguments): an unknown function applied, or its derivative
// diff(f)(a) or diff(f,k)(a,...), by argument 1 or k + 1.
void GenReaderC::applied(FrameS& frame, ::giac::vecteur& arguments) {
    const ::giac::gen f = arguments[0];
    ::giac::vecteur inner;
    arguments = argumentsOf(::giac::gen(arguments[1]), inner);
    frame.action = ActionE::Call;
    if (f.type == ::giac::_IDNT) {
        frame.name = identifier(f, true);
        return;
    }
    if (!isSymbolic(f, "diff") && !isSymbolic(f, "function_diff")) {
        throw RefusalC(u"of: a function applied that the vocabulary cannot write");
    }
    ::giac::vecteur by;
    const ::giac::vecteur& parts = argumentsOf(f._SYMBptr->feuille, by);
    const bool plain = parts.size() == 1 || (parts.size() == 2 && parts[1].type == ::giac::_INT_ &&
                                             parts[1].val >= 0 && parts[1].val < 1000000);
    if (!plain || parts[0].type != ::giac::_IDNT) {
        throw RefusalC(u"pdiff: a derivative of an unknown function that the vocabulary cannot write");
    }
    frame.name = identifier(parts[0], true);
    frame.position = parts.size() == 1 ? 1 : static_cast<std::uint32_t>(parts[1].val) + 1;
    frame.action = ActionE::Pdiff;
}

// diff(f(a,...),x), x one of the arguments: the derivative by it.
void GenReaderC::derivative(FrameS& frame, ::giac::vecteur& arguments) {
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
    frame.name = identifier(call[0], true);
    frame.action = ActionE::Pdiff;
}

void GenReaderC::finish(const FrameS& frame) {
    std::vector<std::uint32_t> arguments(values.begin() + static_cast<std::ptrdiff_t>(frame.first), values.end());
    values.resize(frame.first);
    const auto one = [&arguments] { return arguments.empty() ? 0u : arguments[0]; };
    std::uint32_t result = 0;
    switch (frame.action) {
        case ActionE::Function:
            result = add(KindE::Function, frame.name, arguments);
            break;
        case ActionE::Sum:
        case ActionE::Product:
            result = arguments.size() == 1 ? arguments[0]
                                           : flattened(frame.action == ActionE::Sum ? KindE::Sum : KindE::Product,
                                                       arguments);
            break;
        case ActionE::Power:
            result = add(KindE::Power, u"", arguments);
            break;
        case ActionE::Inverse:
            result = add(KindE::Power, u"", {one(), add(KindE::Integer, u"-1", {})});
            break;
        case ActionE::Negation:
            result = negated(one());
            break;
        case ActionE::Root: {
            const std::uint32_t half = add(KindE::Rational, u"", {add(KindE::Integer, u"1", {}), add(KindE::Integer, u"2", {})});
            result = add(KindE::Power, u"", {one(), half});
            break;
        }
        case ActionE::Sign: {
            const std::uint32_t magnitude = add(KindE::Function, u"abs", {one()});
            const std::uint32_t inverse = add(KindE::Power, u"", {one(), add(KindE::Integer, u"-1", {})});
            result = add(KindE::Product, u"", {magnitude, inverse});
            break;
        }
        case ActionE::Order: {
            const std::uint32_t inner = arguments.empty()       ? add(KindE::Integer, u"1", {})
                                        : arguments.size() == 1 ? arguments[0]
                                                                : add(KindE::Product, u"", arguments);
            result = add(KindE::Function, u"order", {inner});
            break;
        }
        case ActionE::Call:
            result = add(KindE::Call, frame.name, arguments);
            break;
        case ActionE::Pdiff: {
            const std::uint32_t call = add(KindE::Call, frame.name, arguments);
            result = add(KindE::Function, u"pdiff", {call, add(KindE::Integer, widen(std::to_string(frame.position)), {})});
            break;
        }
        case ActionE::Equal:
            result = add(KindE::Equal, u"", arguments);
            break;
        case ActionE::List:
            result = add(KindE::List, u"", arguments);
            break;
        case ActionE::Pass:
            result = one();
            break;
    }
    values.push_back(result);
}

// A sum of sums or a product of products as one: Giac nests them at times.
std::uint32_t GenReaderC::flattened(KindE kind, const std::vector<std::uint32_t>& arguments) {
    std::vector<std::uint32_t> flat;
    for (std::uint32_t a : arguments) {
        const ResultFormC::ItemS& item = form_p->item(a);
        if (item.kind != kind) {
            flat.push_back(a);
            continue;
        }
        for (std::uint32_t k = 0; k < item.count; ++k) {
            flat.push_back(form_p->argument(item, k));
        }
    }
    return add(kind, u"", flat);
}

// The negation of an item: a number with its sign turned, a product with its
// number's sign turned (or -1 before it), anything else times -1.
std::uint32_t GenReaderC::negated(std::uint32_t index) {
    const ResultFormC::ItemS item = form_p->item(index);
    switch (item.kind) {
        case KindE::Integer:
            return add(KindE::Integer, item.text == u"0" ? item.text : item.text[0] == u'-' ? item.text.substr(1) : u"-" + item.text, {});
        case KindE::Rational:
            return add(KindE::Rational, u"", {negated(form_p->argument(item, 0)), form_p->argument(item, 1)});
        case KindE::Float:
            return form_p->addFloat(-item.value);
        case KindE::Complex:
            return add(KindE::Complex, u"", {negated(form_p->argument(item, 0)), negated(form_p->argument(item, 1))});
        case KindE::Product: {
            std::vector<std::uint32_t> factors;
            for (std::uint32_t k = 0; k < item.count; ++k) {
                factors.push_back(form_p->argument(item, k));
            }
            const KindE first = form_p->item(factors[0]).kind;
            if (ResultFormC::isNumber(first) && first != KindE::Complex) {
                factors[0] = negated(factors[0]);
            } else {
                factors.insert(factors.begin(), add(KindE::Integer, u"-1", {}));
            }
            return add(KindE::Product, u"", factors);
        }
        default:
            return add(KindE::Product, u"", {add(KindE::Integer, u"-1", {}), index});
    }
}

std::uint32_t GenReaderC::integer(const ::giac::gen& value) {
    if (value.type == ::giac::_INT_) {
        return add(KindE::Integer, widen(std::to_string(value.val)), {});
    }
    const std::size_t digits = mpz_sizeinbase(*value._ZINTptr, 10);
    if (digits > max_integer_digits + 1) {
        throw RefusalC(u"the result has an integer of more than " + widen(std::to_string(max_integer_digits)) +
                       u" digits");
    }
    std::string text(digits + 2, '\0');
    mpz_get_str(&text[0], 10, *value._ZINTptr);
    text.resize(std::char_traits<char>::length(text.c_str()));
    return add(KindE::Integer, widen(text), {});
}

std::uint32_t GenReaderC::leaf(const ::giac::gen& value) {
    switch (value.type) {
        case ::giac::_INT_:
        case ::giac::_ZINT:
            return integer(value);
        case ::giac::_DOUBLE_:
        case ::giac::_REAL: {
            if (form_p->size() >= max_nodes) {
                throw RefusalC(u"the result has more than " + widen(std::to_string(max_nodes)) + u" nodes");
            }
            return form_p->addFloat(value.type == ::giac::_REAL ? value._REALptr->evalf_double() : value._DOUBLE_val);
        }
        case ::giac::_FRAC: {
            const ::giac::gen& num = value._FRACptr->num;
            const ::giac::gen& den = value._FRACptr->den;
            if (::giac::is_positive(-den, ::giac::context0)) {
                throw RefusalC(u"a fraction of Giac's with a negative denominator");
            }
            const std::uint32_t p = integer(num);
            return add(KindE::Rational, u"", {p, integer(den)});
        }
        case ::giac::_CPLX: {
            const std::uint32_t re = leaf(value._CPLXptr[0]);
            const ::giac::gen& b = value._CPLXptr[1];
            if (b.type == ::giac::_INT_ && b.val == 0) {
                return re;
            }
            return add(KindE::Complex, u"", {re, leaf(b)});
        }
        case ::giac::_IDNT: {
            const std::string name = value._IDNTptr->id_name;
            if (name == "pi") {
                return add(KindE::Constant, u"pi", {});
            }
            if (name == "infinity") {
                throw RefusalC(u"no value: the result is infinite without a sign");
            }
            if (name == "undef") {
                throw RefusalC(u"no value: Giac's result is undefined (undef)");
            }
            return add(KindE::Symbol, identifier(value, false), {});
        }
        default:
            throw RefusalC(u"a kind of value of Giac's that the vocabulary cannot write");
    }
}

std::u16string GenReaderC::identifier(const ::giac::gen& value, bool function) const {
    const std::string name = value._IDNTptr->id_name;
    const auto found = names.find(name);
    if (found == names.end()) {
        throw RefusalC(widen(name) + (function ? u": a function of Giac's that the vocabulary does not name"
                                              : u": a constant of Giac's that the vocabulary does not name"));
    }
    return found->second;
}

}  // namespace qorv::math::algexpr::giac::detail
