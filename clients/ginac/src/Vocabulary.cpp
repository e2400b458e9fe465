// SPDX-License-Identifier: MIT
#include "Vocabulary.h"

#include <string_view>

namespace qorv::math::algexpr::ginac::detail {

const char16_t* const kBuiltinNames[] = {
    u"plus", u"minus", u"times",  u"divide",   u"power",  u"neg",    u"sin",   u"cos",   u"tan",  u"exp",
    u"log",  u"sqrt",  u"abs",    u"pi",       u"e",      u"asin",   u"acos",  u"atan",  u"sinh", u"cosh",
    u"tanh", u"i",     u"diff",   u"expand",   u"simplify", u"factor", u"series", u"pdiff", u"order",
    u"conjugate", u"real_part", u"imag_part", u"csgn", u"step", u"atan2", u""};

namespace {

// The operation of each built-in name, in the same order.
constexpr OperationE kOperations[] = {
    OperationE::Plus,  OperationE::Minus,  OperationE::Times,    OperationE::Divide, OperationE::Power,
    OperationE::Neg,   OperationE::Sin,    OperationE::Cos,      OperationE::Tan,    OperationE::Exp,
    OperationE::Log,   OperationE::Sqrt,   OperationE::Abs,      OperationE::Pi,     OperationE::E,
    OperationE::Asin,  OperationE::Acos,   OperationE::Atan,     OperationE::Sinh,   OperationE::Cosh,
    OperationE::Tanh,  OperationE::I,      OperationE::Diff,     OperationE::Expand, OperationE::Simplify,
    OperationE::Factor, OperationE::Series, OperationE::Pdiff,   OperationE::Order,
    OperationE::Conjugate, OperationE::RealPart, OperationE::ImagPart, OperationE::Csgn, OperationE::Step, OperationE::Atan2};
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
    return operation == OperationE::Pi || operation == OperationE::E || operation == OperationE::I;
}

bool acceptsArity(OperationE operation, std::size_t count) {
    switch (operation) {
        case OperationE::Plus:
        case OperationE::Times:
            return count >= 1;
        case OperationE::Minus:
            return count == 1 || count == 2;
        case OperationE::Divide:
        case OperationE::Power:
        case OperationE::Pdiff:
        case OperationE::Atan2:
            return count == 2;
        case OperationE::Diff:
            return count == 2 || count == 3;
        case OperationE::Series:
            return count == 4;
        default:
            return count == 1;
    }
}

const char* arityText(OperationE operation) {
    switch (operation) {
        case OperationE::Plus:
        case OperationE::Times:
            return "at least 1 argument";
        case OperationE::Minus:
            return "1 or 2 arguments";
        case OperationE::Divide:
        case OperationE::Power:
        case OperationE::Pdiff:
        case OperationE::Atan2:
            return "2 arguments";
        case OperationE::Diff:
            return "2 or 3 arguments";
        case OperationE::Series:
            return "4 arguments";
        default:
            return "1 argument";
    }
}

}  // namespace qorv::math::algexpr::ginac::detail
