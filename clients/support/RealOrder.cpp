// SPDX-License-Identifier: MIT
#include "RealOrder.h"

#include <cstdint>
#include <vector>

namespace qorv::math::algexpr::support {

namespace {

constexpr std::uint32_t kLimbBase = 1000000000u;  // nine decimal digits a limb

// Limbs of a decimal magnitude, least significant first.
std::vector<std::uint32_t> limbsOf(const std::string& digits) {
    std::vector<std::uint32_t> limbs;
    limbs.reserve(digits.size() / 9 + 1);
    for (std::size_t end = digits.size(); end > 0;) {
        const std::size_t begin = end >= 9 ? end - 9 : 0;
        std::uint32_t limb = 0;
        for (std::size_t i = begin; i < end; ++i) {
            limb = limb * 10 + static_cast<std::uint32_t>(digits[i] - '0');
        }
        limbs.push_back(limb);
        end = begin;
    }
    return limbs;
}

// The magnitude |x| = numerator / denominator x 10^shift.
struct Magnitude {
    const std::string* numerator;
    const std::string* denominator;  // null for 1
    std::int64_t shift;
};

const std::string kOne = "1";

Magnitude magnitudeOf(const RealS& x) {
    switch (x.form) {
        case RealS::FormE::Rational:
            return Magnitude{&x.digits, &x.denominator, 0};
        case RealS::FormE::Float:
            return Magnitude{&x.digits, nullptr, x.exponent - static_cast<std::int64_t>(x.digits.size()) + 1};
        case RealS::FormE::Integer:
            break;
    }
    return Magnitude{&x.digits, nullptr, 0};
}

// Compares p x 10^sp with q x 10^sq for digit strings without leading zeros.
int compareShifted(const std::string& p, std::int64_t sp, const std::string& q, std::int64_t sq) {
    const std::int64_t lp = static_cast<std::int64_t>(p.size()) + sp;
    const std::int64_t lq = static_cast<std::int64_t>(q.size()) + sq;
    if (lp != lq) {
        return lp < lq ? -1 : 1;
    }
    const std::size_t n = p.size() > q.size() ? p.size() : q.size();
    for (std::size_t i = 0; i < n; ++i) {
        const char a = i < p.size() ? p[i] : '0';
        const char b = i < q.size() ? q[i] : '0';
        if (a != b) {
            return a < b ? -1 : 1;
        }
    }
    return 0;
}

int compareMagnitudes(const Magnitude& a, const Magnitude& b) {
    const std::string& da = a.denominator != nullptr ? *a.denominator : kOne;
    const std::string& db = b.denominator != nullptr ? *b.denominator : kOne;
    // n/d with n of ln digits and d of ld lies in (10^(ln-ld-1), 10^(ln-ld+1)).
    const std::int64_t la = static_cast<std::int64_t>(a.numerator->size()) - static_cast<std::int64_t>(da.size()) + a.shift;
    const std::int64_t lb = static_cast<std::int64_t>(b.numerator->size()) - static_cast<std::int64_t>(db.size()) + b.shift;
    if (la + 1 <= lb - 1) {
        return -1;
    }
    if (lb + 1 <= la - 1) {
        return 1;
    }
    const std::string p = multiplyDigits(*a.numerator, db);
    const std::string q = multiplyDigits(*b.numerator, da);
    return compareShifted(p, a.shift, q, b.shift);
}

int signOf(const RealS& x) { return x.isZero() ? 0 : x.negative ? -1 : 1; }

}  // namespace

std::string multiplyDigits(const std::string& a, const std::string& b) {
    if (a == "1") {
        return b;
    }
    if (b == "1") {
        return a;
    }
    if (a == "0" || b == "0") {
        return "0";
    }
    const std::vector<std::uint32_t> x = limbsOf(a);
    const std::vector<std::uint32_t> y = limbsOf(b);
    std::vector<std::uint64_t> product(x.size() + y.size() + 1, 0);
    for (std::size_t i = 0; i < x.size(); ++i) {
        std::uint64_t carry = 0;
        for (std::size_t j = 0; j < y.size(); ++j) {
            const std::uint64_t cell = product[i + j] + static_cast<std::uint64_t>(x[i]) * y[j] + carry;
            product[i + j] = cell % kLimbBase;
            carry = cell / kLimbBase;
        }
        for (std::size_t k = i + y.size(); carry != 0; ++k) {
            const std::uint64_t cell = product[k] + carry;
            product[k] = cell % kLimbBase;
            carry = cell / kLimbBase;
        }
    }
    while (product.size() > 1 && product.back() == 0) {
        product.pop_back();
    }
    std::string digits = std::to_string(product.back());
    for (std::size_t i = product.size() - 1; i > 0; --i) {
        const std::string limb = std::to_string(product[i - 1]);
        digits.append(9 - limb.size(), '0');
        digits += limb;
    }
    return digits;
}

int compareReals(const RealS& a, const RealS& b) {
    const int sa = signOf(a);
    const int sb = signOf(b);
    if (sa != sb) {
        return sa < sb ? -1 : 1;
    }
    if (sa == 0) {
        return 0;
    }
    const int order = compareMagnitudes(magnitudeOf(a), magnitudeOf(b));
    return sa > 0 ? order : -order;
}

}  // namespace qorv::math::algexpr::support
