// SPDX-License-Identifier: MIT
#include "ResultGraphC.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <functional>
#include <new>
#include <limits>
#include <utility>

#include "algexpr/SymbolC.h"

namespace qorv::math::algexpr::support {

namespace {

std::size_t mix(std::size_t seed, std::size_t value) {
    return seed ^ (value + 0x9e3779b97f4a7c15ull + (seed << 6) + (seed >> 2));
}

std::size_t hashOfReal(const RealS& r) {
    std::size_t h = std::hash<std::string>()(r.digits);
    h = mix(h, static_cast<std::size_t>(r.form) * 2 + (r.negative ? 1 : 0));
    h = mix(h, std::hash<std::string>()(r.denominator));
    return mix(h, static_cast<std::size_t>(r.exponent));
}

bool sameReal(const RealS& a, const RealS& b) {
    return a.form == b.form && a.negative == b.negative && a.digits == b.digits && a.denominator == b.denominator &&
           a.exponent == b.exponent;
}

// A double from up to 17 leading digits and a decimal exponent.
double scaled(const std::string& digits, double exponent) {
    if (digits.empty()) {
        return 0.0;
    }
    const std::size_t lead = digits.size() < 17 ? digits.size() : 17;
    const double mantissa = std::strtod(digits.substr(0, lead).c_str(), nullptr);
    return mantissa * std::pow(10.0, exponent + static_cast<double>(digits.size() - lead));
}

// Nodes whose memory clear() keeps for the next result.
constexpr std::size_t kKeptNodes = 1 << 16;

template <class T>
void release(std::vector<T>& list) {
    std::vector<T>().swap(list);
}

}  // namespace

RealS RealS::negated() const {
    RealS result = *this;
    result.negative = !isZero() && !negative;
    return result;
}

double RealS::approximate() const {
    double magnitude = 0.0;
    switch (form) {
        case FormE::Integer:
            magnitude = scaled(digits, 0.0);
            break;
        case FormE::Rational:
            magnitude = std::exp(std::log(scaled(digits, 0.0)) - std::log(scaled(denominator, 0.0)));
            break;
        case FormE::Float:
            magnitude = scaled(digits, static_cast<double>(exponent) - static_cast<double>(digits.size() - 1));
            break;
    }
    return negative ? -magnitude : magnitude;
}

NumberS NumberS::integer(bool negative, std::string digits) {
    NumberS number;
    number.real.negative = negative && digits != "0";
    number.real.digits = std::move(digits);
    return number;
}

NumberS NumberS::negated() const {
    NumberS result = *this;
    result.real = real.negated();
    result.imag = imag.negated();
    return result;
}

bool NumberS::isNegative() const { return complex && real.isZero() ? imag.negative : real.negative; }

ResultGraphC::ResultGraphC() = default;

ResultGraphC::~ResultGraphC() = default;

void ResultGraphC::clear() {
    // A huge result's memory is given back rather than kept for every small
    // one after it.
    if (nodes.capacity() > kKeptNodes) {
        release(nodes);
        release(child_list);
        release(number_list);
        release(hashes);
    }
    nodes.clear();
    child_list.clear();
    number_list.clear();
    symbol_list.clear();
    function_list.clear();
    derivative_list.clear();
    hashes.clear();
    if (table.size() > 1024) {
        std::vector<IdT>(1024, kNoId).swap(table);
    } else {
        std::fill(table.begin(), table.end(), kNoId);
    }
}

IdT ResultGraphC::addSymbol(qorv::oss::PointerTC<SymbolC> symbol) {
    symbol_list.push_back(std::move(symbol));
    return static_cast<IdT>(symbol_list.size() - 1);
}

IdT ResultGraphC::addFunction(FunctionS function) {
    function_list.push_back(std::move(function));
    return static_cast<IdT>(function_list.size() - 1);
}

IdT ResultGraphC::addDerivative(DerivativeS derivative) {
    derivative_list.push_back(std::move(derivative));
    return static_cast<IdT>(derivative_list.size() - 1);
}

IdT ResultGraphC::number(const NumberS& value) {
    std::size_t h = mix(hashOfReal(value.real), static_cast<std::size_t>(KindE::Number));
    if (value.complex) {
        h = mix(h, hashOfReal(value.imag));
    }
    if (!table.empty()) {
        const std::size_t mask = table.size() - 1;
        for (std::size_t i = h & mask; table[i] != kNoId; i = (i + 1) & mask) {
            const IdT id = table[i];
            if (hashes[id] != h || nodes[id].kind != KindE::Number) {
                continue;
            }
            const NumberS& known = number_list[nodes[id].data];
            if (known.complex == value.complex && sameReal(known.real, value.real) &&
                (!value.complex || sameReal(known.imag, value.imag))) {
                return id;
            }
        }
    }
    number_list.push_back(value);
    if (!value.complex) {
        number_list.back().imag = RealS();
    }
    return add(KindE::Number, static_cast<IdT>(number_list.size() - 1), nullptr, 0, h);
}

IdT ResultGraphC::symbol(IdT symbol_index) { return make(KindE::Symbol, symbol_index, nullptr, 0); }

IdT ResultGraphC::constant(ConstantE constant) { return make(KindE::Constant, static_cast<IdT>(constant), nullptr, 0); }

IdT ResultGraphC::function(IdT function_index, const IdT* arguments, std::size_t count) {
    return make(KindE::Function, function_index, arguments, count);
}

IdT ResultGraphC::derivative(IdT derivative_index, const IdT* arguments, std::size_t count) {
    return make(KindE::Derivative, derivative_index, arguments, count);
}

IdT ResultGraphC::power(IdT base, IdT exponent) {
    const IdT parts[] = {base, exponent};
    return make(KindE::Power, 0, parts, 2);
}

IdT ResultGraphC::product(IdT coefficient, const IdT* factors, std::size_t count) {
    return make(KindE::Product, coefficient, factors, count);
}

IdT ResultGraphC::sum(const IdT* terms, std::size_t count) { return make(KindE::Sum, 0, terms, count); }

IdT ResultGraphC::order(IdT argument) { return make(KindE::Order, 0, &argument, 1); }

std::size_t ResultGraphC::hashOf(KindE kind, IdT data, const IdT* children, std::size_t count) const {
    std::size_t h = mix(static_cast<std::size_t>(kind), data);
    for (std::size_t i = 0; i < count; ++i) {
        h = mix(h, children[i]);
    }
    return h;
}

IdT ResultGraphC::make(KindE kind, IdT data, const IdT* children, std::size_t count) {
    const std::size_t h = hashOf(kind, data, children, count);
    if (!table.empty()) {
        const std::size_t mask = table.size() - 1;
        for (std::size_t i = h & mask; table[i] != kNoId; i = (i + 1) & mask) {
            const IdT id = table[i];
            const NodeS& known = nodes[id];
            if (hashes[id] != h || known.kind != kind || known.data != data || known.count != count) {
                continue;
            }
            bool same = true;
            for (std::size_t k = 0; same && k < count; ++k) {
                same = child_list[known.first + k] == children[k];
            }
            if (same) {
                return id;
            }
        }
    }
    return add(kind, data, children, count, h);
}

IdT ResultGraphC::add(KindE kind, IdT data, const IdT* children, std::size_t count, std::size_t hash) {
    if (nodes.size() >= static_cast<std::size_t>(kNoId) / 4) {
        throw std::bad_alloc();  // more nodes than ids: memory would run out first
    }
    const auto id = static_cast<IdT>(nodes.size());
    nodes.push_back(NodeS{kind, data, static_cast<IdT>(child_list.size()), static_cast<IdT>(count)});
    child_list.insert(child_list.end(), children, children + count);
    hashes.push_back(hash);
    if (2 * nodes.size() > table.size()) {
        grow();
    } else {
        const std::size_t mask = table.size() - 1;
        std::size_t i = hash & mask;
        while (table[i] != kNoId) {
            i = (i + 1) & mask;
        }
        table[i] = id;
    }
    return id;
}

void ResultGraphC::grow() {
    std::size_t size = table.empty() ? 64 : table.size() * 2;
    while (size < 2 * nodes.size()) {
        size *= 2;
    }
    table.assign(size, kNoId);
    const std::size_t mask = size - 1;
    for (IdT id = 0; id < nodes.size(); ++id) {
        std::size_t i = hashes[id] & mask;
        while (table[i] != kNoId) {
            i = (i + 1) & mask;
        }
        table[i] = id;
    }
}

}  // namespace qorv::math::algexpr::support
