// SPDX-License-Identifier: MIT
#include "Vocabulary.h"

#include <string_view>

namespace qorv::math::algexpr::ginac::detail {

const char16_t* const kBuiltinNames[] = {
    u"plus", u"minus", u"times",  u"divide",   u"power",  u"neg",    u"sin",   u"cos",   u"tan",  u"exp",
    u"log",  u"sqrt",  u"abs",    u"pi",       u"e",      u"asin",   u"acos",  u"atan",  u"sinh", u"cosh",
    u"tanh", u"i",     u"diff",   u"expand",   u"simplify", u"factor", u"series", u"pdiff", u"order",
    u"conjugate", u"real_part", u"imag_part", u"csgn", u"step", u"atan2",
    // The Giac engine's names, at the codes it gives them, then our own.
    u"integrate", u"limit", u"solve", u"sum", u"list", u"equal", u"infinity", u"factorial", u"binomial", u"gcd",
    u"lcm", u"mod", u"quo", u"rem", u"nintegrate", u"nsolve", u""};

namespace {

// The operation of each built-in name, in the same order.
constexpr OperationE kOperations[] = {
    OperationE::Plus,  OperationE::Minus,  OperationE::Times,    OperationE::Divide, OperationE::Power,
    OperationE::Neg,   OperationE::Sin,    OperationE::Cos,      OperationE::Tan,    OperationE::Exp,
    OperationE::Log,   OperationE::Sqrt,   OperationE::Abs,      OperationE::Pi,     OperationE::E,
    OperationE::Asin,  OperationE::Acos,   OperationE::Atan,     OperationE::Sinh,   OperationE::Cosh,
    OperationE::Tanh,  OperationE::I,      OperationE::Diff,     OperationE::Expand, OperationE::Simplify,
    OperationE::Factor, OperationE::Series, OperationE::Pdiff,   OperationE::Order,
    OperationE::Conjugate, OperationE::RealPart, OperationE::ImagPart, OperationE::Csgn, OperationE::Step, OperationE::Atan2,
    OperationE::Integrate, OperationE::Limit, OperationE::Solve, OperationE::Sum, OperationE::List, OperationE::Equal,
    OperationE::Infinity, OperationE::Factorial, OperationE::Binomial, OperationE::Gcd, OperationE::Lcm,
    OperationE::Mod, OperationE::Quo, OperationE::Rem, OperationE::Nintegrate, OperationE::Nsolve};
constexpr std::size_t kCount = sizeof(kOperations) / sizeof(kOperations[0]);
static_assert(kCount + 1 == sizeof(kBuiltinNames) / sizeof(kBuiltinNames[0]), "one operation per name");
static_assert(kCount + 1 == static_cast<std::size_t>(OperationE::Count), "every operation has a name");

}  // namespace

OperationE operationNamed(const char16_t* name) {
    for (std::size_t i = 0; i < kCount; ++i) {
        if (std::u16string_view(name) == kBuiltinNames[i]) {
            return kOperations[i];
        }
    }
    return OperationE::None;
}

const char16_t* nameOf(OperationE operation) {
    for (std::size_t i = 0; i < kCount; ++i) {
        if (kOperations[i] == operation) {
            return kBuiltinNames[i];
        }
    }
    return u"";
}

bool isConstant(OperationE operation) {
    return operation == OperationE::Pi || operation == OperationE::E || operation == OperationE::I ||
           operation == OperationE::Infinity;
}

bool isGiacOnly(OperationE operation) {
    return operation >= OperationE::Integrate && operation <= OperationE::Infinity;
}

namespace {

constexpr std::size_t kAny = ~std::size_t{0};

struct ArityS {
    std::size_t low;
    std::size_t high;
};

ArityS arityOf(OperationE operation) {
    switch (operation) {
        case OperationE::Plus:
        case OperationE::Times:
            return {1, kAny};
        case OperationE::List:
            return {0, kAny};
        case OperationE::Minus:
            return {1, 2};
        case OperationE::Divide:
        case OperationE::Power:
        case OperationE::Pdiff:
        case OperationE::Atan2:
        case OperationE::Solve:
        case OperationE::Equal:
        case OperationE::Binomial:
        case OperationE::Gcd:
        case OperationE::Lcm:
        case OperationE::Mod:
            return {2, 2};
        case OperationE::Diff:
        case OperationE::Quo:
        case OperationE::Rem:
            return {2, 3};
        case OperationE::Integrate:
            return {2, 4};
        case OperationE::Limit:
            return {3, 4};
        case OperationE::Series:
        case OperationE::Sum:
        case OperationE::Nintegrate:
        case OperationE::Nsolve:
            return {4, 4};
        default:
            return {1, 1};
    }
}

}  // namespace

bool acceptsArity(OperationE operation, std::size_t count) {
    const ArityS arity = arityOf(operation);
    return count >= arity.low && count <= arity.high;
}

const char* arityText(OperationE operation) {
    static const struct {
        ArityS arity;
        const char* text;
    } kTexts[] = {{{1, kAny}, "at least 1 argument"}, {{0, kAny}, "any number of arguments"},
                  {{1, 2}, "1 or 2 arguments"},       {{2, 2}, "2 arguments"},
                  {{2, 3}, "2 or 3 arguments"},       {{2, 4}, "2 to 4 arguments"},
                  {{3, 4}, "3 or 4 arguments"},       {{4, 4}, "4 arguments"}};
    const ArityS arity = arityOf(operation);
    for (const auto& row : kTexts) {
        if (row.arity.low == arity.low && row.arity.high == arity.high) {
            return row.text;
        }
    }
    return "1 argument";
}

}  // namespace qorv::math::algexpr::ginac::detail
