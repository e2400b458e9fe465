// SPDX-License-Identifier: MIT
#include "PolyFixture.h"

#include <cctype>

#include "algexpr/numeric.h"

namespace poly_tests {

using namespace qorv::math::algexpr;
using support::NumberS;
using KindE = ResultGraphC::KindE;

namespace {

CASSessionBC& session() {
    static CASSessionBC* installed = [] {
        auto* made = new numeric::NumericSessionC();
        CASSessionBC::setSession(qorv::oss::PointerTC<CASSessionBC>(made));
        return made;
    }();
    return *installed;
}

}  // namespace

IdT GraphTextC::read(const std::string& source) {
    text = source;
    at = 0;
    return expression();
}

IdT GraphTextC::integer(bool negative, const std::string& digits) { return graph.number(NumberS::integer(negative, digits)); }

IdT GraphTextC::symbol(const std::string& name) {
    for (std::size_t i = 0; i < graph.symbols().size(); ++i) {
        if (graph.symbols()[i]->getName() == std::u16string(name.begin(), name.end())) {
            return graph.symbol(static_cast<IdT>(i));
        }
    }
    return graph.symbol(graph.addSymbol(session().lookupSymbol(std::u16string(name.begin(), name.end()))));
}

// A product with its numbers multiplied into one coefficient (integers and
// rationals of a few digits only).
IdT GraphTextC::times(std::vector<IdT> parts) {
    long long p = 1;
    long long q = 1;
    std::vector<IdT> factors;
    for (IdT part : parts) {
        if (graph.kind(part) != KindE::Number) {
            factors.push_back(part);
            continue;
        }
        const support::RealS& r = graph.numberOf(part).real;
        p *= (r.negative ? -1 : 1) * std::stoll(r.digits);
        q *= r.form == support::RealS::FormE::Rational ? std::stoll(r.denominator) : 1;
    }
    long long a = p < 0 ? -p : p;
    long long b = q;
    while (b != 0) {
        const long long t = a % b;
        a = b;
        b = t;
    }
    p /= a;
    q /= a;
    NumberS n = NumberS::integer(p < 0, std::to_string(p < 0 ? -p : p));
    if (q != 1) {
        n.real.form = support::RealS::FormE::Rational;
        n.real.denominator = std::to_string(q);
    }
    const IdT coefficient = graph.number(n);
    if (factors.empty() || p == 0) {
        return coefficient;
    }
    if (p == 1 && q == 1 && factors.size() == 1) {
        return factors[0];
    }
    return graph.product(p == 1 && q == 1 ? kNoId : coefficient, factors.data(), factors.size());
}

IdT GraphTextC::expression() {
    const bool negative = text[at] == '-';
    at += negative ? 1 : 0;
    const std::size_t start = at;
    while (at < text.size() && (std::isalnum(static_cast<unsigned char>(text[at])) || text[at] == '_' || text[at] == '.')) {
        ++at;
    }
    const std::string name = text.substr(start, at - start);
    if (std::isdigit(static_cast<unsigned char>(name[0]))) {
        if (name.find('.') != std::string::npos) {
            NumberS n;
            n.real.form = support::RealS::FormE::Float;
            n.real.negative = negative;
            n.real.digits = "15";
            n.real.exponent = 0;
            return graph.number(n);
        }
        return integer(negative, name);
    }
    if (at >= text.size() || text[at] != '(') {
        if (name == "pi") {
            return graph.constant(ResultGraphC::ConstantE::Pi);
        }
        return symbol(name);
    }
    ++at;
    std::vector<IdT> arguments;
    while (text[at] != ')') {
        arguments.push_back(expression());
        at += text[at] == ',' ? 1 : 0;
    }
    ++at;
    if (name == "plus") {
        return graph.sum(arguments.data(), arguments.size());
    }
    if (name == "minus") {
        const IdT negated = times({integer(true, "1"), arguments[1]});
        const IdT terms[] = {arguments[0], negated};
        return graph.sum(terms, 2);
    }
    if (name == "neg") {
        return times({integer(true, "1"), arguments[0]});
    }
    if (name == "times") {
        return times(arguments);
    }
    if (name == "power") {
        return graph.power(arguments[0], arguments[1]);
    }
    if (name == "divide") {
        if (graph.kind(arguments[0]) == KindE::Number && graph.kind(arguments[1]) == KindE::Number) {
            NumberS n = graph.numberOf(arguments[0]);
            const support::RealS& d = graph.numberOf(arguments[1]).real;
            n.real.negative = n.real.negative != d.negative;
            n.real.form = support::RealS::FormE::Rational;
            n.real.denominator = d.digits;
            return graph.number(n);
        }
        return times({arguments[0], graph.power(arguments[1], integer(true, "1"))});
    }
    ResultGraphC::FunctionS function;
    function.name = std::u16string(name.begin(), name.end());
    const IdT index = graph.addFunction(function);
    return graph.function(index, arguments.data(), arguments.size());
}

std::string GraphTextC::write(IdT id) const {
    const ResultGraphC::NodeS& node = graph.node(id);
    std::string children;
    for (std::size_t i = 0; i < node.count; ++i) {
        children += (i == 0 ? "" : ",") + write(graph.child(id, i));
    }
    switch (node.kind) {
        case KindE::Number: {
            const support::RealS& r = graph.numberOf(id).real;
            const std::string digits = (r.negative ? "-" : "") + r.digits;
            return r.form == support::RealS::FormE::Rational ? "divide(" + digits + "," + r.denominator + ")" : digits;
        }
        case KindE::Symbol: {
            const std::u16string name = graph.symbols()[node.data]->getName();
            return std::string(name.begin(), name.end());
        }
        case KindE::Constant:
            return "pi";
        case KindE::Function: {
            const std::u16string& name = graph.functions()[node.data].name;
            return std::string(name.begin(), name.end()) + "(" + children + ")";
        }
        case KindE::Power:
            return "power(" + children + ")";
        case KindE::Product:
            return "times(" + (node.data == kNoId ? std::string() : write(node.data) + ",") + children + ")";
        case KindE::Sum:
            return "plus(" + children + ")";
        default:
            return "?";
    }
}

IdT run(ResultGraphC& graph, OperationE operation, const std::vector<std::string>& arguments,
        const PolyLimitsS& limits) {
    GraphTextC reader(graph);
    std::vector<IdT> nodes;
    for (const std::string& argument : arguments) {
        nodes.push_back(reader.read(argument));
    }
    return PolyEngineC(graph, limits).run(operation, nodes.data(), nodes.size());
}

bool samePolynomial(ResultGraphC& graph, IdT a, IdT b, bool up_to_sign) {
    if (graph.kind(a) == KindE::Number && graph.kind(b) == KindE::Number) {  // the layer leaves numbers alone
        return a == b || (up_to_sign && graph.number(graph.numberOf(b).negated()) == a);
    }
    for (const char* sign : {"-1", "1"}) {
        const IdT factor = graph.number(NumberS::integer(sign[0] == '-', "1"));
        const IdT scaled = graph.product(factor, &b, 1);
        const IdT difference[] = {a, scaled};
        const IdT sum = graph.sum(difference, 2);
        const IdT result = PolyEngineC(graph, PolyLimitsS()).run(OperationE::Expand, &sum, 1);
        if (result != kNoId && graph.kind(result) == KindE::Number && graph.numberOf(result).real.isZero()) {
            return true;
        }
        if (!up_to_sign) {
            break;
        }
    }
    return false;
}

bool isExpanded(const ResultGraphC& graph, IdT id) {
    const auto factor = [&graph](IdT f) {
        const KindE k = graph.kind(f);
        return k == KindE::Symbol || k == KindE::Constant || k == KindE::Function ||
               (k == KindE::Power && graph.kind(graph.child(f, 0)) != KindE::Sum &&
                graph.kind(graph.child(f, 0)) != KindE::Product);
    };
    const auto term = [&](IdT t) {
        if (graph.kind(t) == KindE::Number) {
            return true;
        }
        if (graph.kind(t) != KindE::Product) {
            return factor(t);
        }
        for (std::size_t i = 0; i < graph.node(t).count; ++i) {
            if (!factor(graph.child(t, i))) {
                return false;
            }
        }
        return true;
    };
    if (graph.kind(id) != KindE::Sum) {
        return term(id);
    }
    for (std::size_t i = 0; i < graph.node(id).count; ++i) {
        if (!term(graph.child(id, i))) {
            return false;
        }
    }
    return true;
}

}  // namespace poly_tests
