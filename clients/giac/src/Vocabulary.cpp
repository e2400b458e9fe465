// SPDX-License-Identifier: MIT
#include "Vocabulary.h"

#include <string_view>

namespace qorv::math::algexpr::giac::detail {

// The names and codes shared with the GiNaC client come first, in its order;
// the Giac engine's additions follow.
const WordS kWords[] = {
    {u"plus", OperationE::Plus, 1, kAnyCount, 1},
    {u"minus", OperationE::Minus, 1, 2, 1},
    {u"times", OperationE::Times, 1, kAnyCount, 1},
    {u"divide", OperationE::Divide, 2, 2, 1},
    {u"power", OperationE::Power, 2, 2, 1},
    {u"neg", OperationE::Neg, 1, 1, 1},
    {u"sin", OperationE::Sin, 1, 1, 1},
    {u"cos", OperationE::Cos, 1, 1, 1},
    {u"tan", OperationE::Tan, 1, 1, 1},
    {u"exp", OperationE::Exp, 1, 1, 1},
    {u"log", OperationE::Log, 1, 1, 1},
    {u"sqrt", OperationE::Sqrt, 1, 1, 1},
    {u"abs", OperationE::Abs, 1, 1, 1},
    {u"pi", OperationE::Pi, 0, 0, 1},
    {u"e", OperationE::E, 0, 0, 1},
    {u"asin", OperationE::Asin, 1, 1, 1},
    {u"acos", OperationE::Acos, 1, 1, 1},
    {u"atan", OperationE::Atan, 1, 1, 1},
    {u"sinh", OperationE::Sinh, 1, 1, 1},
    {u"cosh", OperationE::Cosh, 1, 1, 1},
    {u"tanh", OperationE::Tanh, 1, 1, 1},
    {u"i", OperationE::I, 0, 0, 1},
    {u"diff", OperationE::Diff, 2, 3, 1},
    {u"expand", OperationE::Expand, 1, 1, 1},
    {u"simplify", OperationE::Simplify, 1, 1, 1},
    {u"factor", OperationE::Factor, 1, 1, 1},
    {u"series", OperationE::Series, 4, 4, 1},
    {u"pdiff", OperationE::Pdiff, 2, 2, 1},
    {u"order", OperationE::Order, 1, 1, 1},
    {u"conjugate", OperationE::Conjugate, 1, 1, 1},
    {u"real_part", OperationE::RealPart, 1, 1, 1},
    {u"imag_part", OperationE::ImagPart, 1, 1, 1},
    {u"csgn", OperationE::Csgn, 1, 1, 1},
    {u"step", OperationE::Step, 1, 1, 1},
    {u"atan2", OperationE::Atan2, 2, 2, 1},
    {u"integrate", OperationE::Integrate, 2, 4, 2},
    {u"limit", OperationE::Limit, 3, 4, 1},
    {u"solve", OperationE::Solve, 2, 2, 1},
    {u"sum", OperationE::Sum, 4, 4, 1},
    {u"list", OperationE::List, 0, kAnyCount, 1},
    {u"equal", OperationE::Equal, 2, 2, 1},
    {u"infinity", OperationE::Infinity, 0, 0, 1},
    {u"factorial", OperationE::Factorial, 1, 1, 1},
    {u"binomial", OperationE::Binomial, 2, 2, 1},
    {u"gcd", OperationE::Gcd, 2, 2, 1},
    {u"lcm", OperationE::Lcm, 2, 2, 1},
    {u"mod", OperationE::Mod, 2, 2, 1},
    {u"quo", OperationE::Quo, 2, 3, 1},
    {u"rem", OperationE::Rem, 2, 3, 1},
};
const std::size_t kWordCount = sizeof(kWords) / sizeof(kWords[0]);
static_assert(sizeof(kWords) / sizeof(kWords[0]) + 1 == static_cast<std::size_t>(OperationE::Count),
              "one name per operation");

namespace {

const WordS* wordOf(OperationE operation) {
    for (std::size_t i = 0; i < kWordCount; ++i) {
        if (kWords[i].operation == operation) {
            return &kWords[i];
        }
    }
    return nullptr;
}

struct NamesS {
    const char16_t* list[sizeof(kWords) / sizeof(kWords[0]) + 1];
    NamesS() : list() {
        for (std::size_t i = 0; i < kWordCount; ++i) {
            list[i] = kWords[i].name;
        }
        list[kWordCount] = u"";
    }
};

}  // namespace

const char16_t* const* builtinNames() {
    static const NamesS names;
    return names.list;
}

OperationE operationNamed(const char16_t* name) {
    for (std::size_t i = 0; i < kWordCount; ++i) {
        if (std::u16string_view(name) == kWords[i].name) {
            return kWords[i].operation;
        }
    }
    return OperationE::None;
}

const char16_t* nameOf(OperationE operation) {
    const WordS* word = wordOf(operation);
    return word == nullptr ? u"" : word->name;
}

bool isConstant(OperationE operation) {
    const WordS* word = wordOf(operation);
    return word != nullptr && word->most == 0;
}

bool acceptsArity(OperationE operation, std::size_t count) {
    const WordS* word = wordOf(operation);
    return word != nullptr && count >= word->fewest && count <= word->most && (count - word->fewest) % word->step == 0;
}

std::u16string arityText(OperationE operation) {
    const WordS* word = wordOf(operation);
    if (word == nullptr) {
        return u"";
    }
    const auto number = [](std::size_t n) { return std::u16string(1, static_cast<char16_t>(u'0' + n)); };
    const std::u16string plural = word->most == 1 && word->fewest == 1 ? u" argument" : u" arguments";
    if (word->most == kAnyCount) {
        return u"at least " + number(word->fewest) + (word->fewest == 1 ? u" argument" : u" arguments");
    }
    if (word->fewest == word->most) {
        return number(word->fewest) + plural;
    }
    const std::u16string joint = word->most - word->fewest == word->step ? u" or " : u" to ";
    return number(word->fewest) + joint + number(word->most) + plural;
}

}  // namespace qorv::math::algexpr::giac::detail
