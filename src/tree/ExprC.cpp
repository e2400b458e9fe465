// SPDX-License-Identifier: MIT
#include "algexpr/ExprC.h"

#include <charconv>
#include <cmath>
#include <memory>
#include <new>
#include <string_view>

#include "NodeKind.h"
#include "algexpr/CASSessionBC.h"
#include "algexpr/CoreFunctionNodeC.h"
#include "algexpr/CoreSymbolNodeC.h"
#include "algexpr/ExtendedFunctionNodeC.h"
#include "algexpr/ExtendedSymbolNodeC.h"
#include "algexpr/FloatNodeC.h"
#include "algexpr/FloatValueABC.h"
#include "algexpr/IntegerNodeC.h"
#include "algexpr/IntegerValueABC.h"
#include "algexpr/PrefixPrintVisitorC.h"
#include "algexpr/PrefixSyntaxCheckC.h"
#include "algexpr/SubstitutionC.h"
#include "algexpr/TreeOrder.h"
#include "support/NodeAccess.h"
#include "support/SymbolAccess.h"

namespace qorv::math::algexpr {

using qorv::oss::PointerTC;

namespace {

constexpr const char16_t* kNoExpression = u"no expression";
constexpr const char16_t* kNoSession = u"no session is current";
constexpr const char16_t* kOutOfMemory = u"out of memory";
constexpr const char16_t* kNotCore = u"the session has no core element named ";
constexpr const char16_t* kDeclined = u"no number factory takes ";
constexpr const char16_t* kNotASymbol = u"a key to substitute is not a symbol";
constexpr const char16_t* kBadName = u"a name that does not read back: ";
constexpr const char16_t* kEmptyName = u"an empty name does not read back";
constexpr const char16_t* kNumberName = u"a symbol's name that reads as a number: ";
constexpr const char16_t* kNoArguments = u"a call without arguments does not read back: ";
constexpr const char16_t* kNoFloatText = u"a float whose text does not read back: ";

// Why prefix text cannot hold the name as one token (it is empty, or holds
// a character that reading drops or splits at); null when it can.
const char16_t* nameProblem(const std::u16string& name) {
    if (name.empty()) {
        return kEmptyName;
    }
    return name.find_first_of(u" \t\n\r(),") != std::u16string::npos ? kBadName : nullptr;
}

// The number node that reading makes of a number text: a text with ".",
// "e" or "E" goes to the float factory, any other to the integer factory
// first; null when every factory asked declines it (or there is none).
NodeABC* numberNode(CASSessionBC& session, const std::u16string& text) {
    if (text.find_first_of(u".eE") == std::u16string::npos) {
        PointerTC<IntegerValueFactoryABC> integers = session.getIntegerValueFactory();
        if (IntegerValueABC* value = integers ? integers->fromString(text) : nullptr) {
            auto* node = new (std::nothrow) IntegerNodeC(value);
            if (node == nullptr) {
                delete value;
            }
            return node;
        }
    }
    PointerTC<FloatValueFactoryABC> floats = session.getFloatValueFactory();
    FloatValueABC* value = floats ? floats->fromString(text) : nullptr;
    if (value == nullptr) {
        return nullptr;
    }
    auto* node = new (std::nothrow) FloatNodeC(value);
    if (node == nullptr) {
        delete value;
    }
    return node;
}

std::u16string widen(const char* first, const char* last) { return std::u16string(first, last); }

// The name of a symbol leaf; the empty name for one without a symbol.
std::u16string nameOf(const ExtendedSymbolNodeC& leaf) {
    const SymbolC* symbol = detail::NodeAccess::symbol(leaf);
    return symbol != nullptr ? detail::SymbolAccess::name(*symbol) : std::u16string();
}

}  // namespace

// Runs `build`, turning memory running out on the way (the session's lookups
// copy their names, texts are made) into a value that says so.
template <class Build>
ExprC ExprC::guarded(Build build) {
    try {
        return build();
    } catch (const std::bad_alloc&) {
        return failure(kOutOfMemory);
    }
}

ExprC::ExprC() noexcept : reason_p(kNoExpression) {}

ExprC::ExprC(const AlgebraicExpressionC& expression) : ExprC() {
    if (expression.getNode() != nullptr) {
        *this = adopt(expression.getNode()->clone());
        if (root_p == nullptr) {
            reason_p = kOutOfMemory;
        }
    }
}

ExprC::ExprC(const ExprC& other) : ExprC() {
    if (other.root_p != nullptr) {
        root_p = other.root_p->clone();
        reason_p = root_p != nullptr ? nullptr : kOutOfMemory;
        group_mark = root_p != nullptr && other.group_mark;
        return;
    }
    reason_p = other.reason_p;
    try {
        detail = other.detail;
    } catch (const std::bad_alloc&) {
        reason_p = kOutOfMemory;
    }
}

ExprC::ExprC(ExprC&& other) noexcept
    : root_p(other.root_p), reason_p(other.reason_p), detail(std::move(other.detail)), group_mark(other.group_mark) {
    other.root_p = nullptr;
    other.reason_p = kNoExpression;
    other.group_mark = false;
}

ExprC& ExprC::operator=(const ExprC& other) {
    if (this != &other) {
        *this = ExprC(other);
    }
    return *this;
}

ExprC& ExprC::operator=(ExprC&& other) noexcept {
    if (this != &other) {
        delete root_p;
        root_p = other.root_p;
        reason_p = other.reason_p;
        detail = std::move(other.detail);
        group_mark = other.group_mark;
        other.root_p = nullptr;
        other.reason_p = kNoExpression;
        other.group_mark = false;
    }
    return *this;
}

ExprC::~ExprC() { delete root_p; }

ExprC ExprC::adopt(NodeABC* tree) noexcept {
    ExprC made;
    made.root_p = tree;
    made.reason_p = tree != nullptr ? nullptr : kNoExpression;
    return made;
}

std::u16string ExprC::error() const {
    if (root_p != nullptr) {
        return std::u16string();
    }
    try {
        return detail.empty() ? std::u16string(reason_p) : reason_p + (u"'" + detail + u"'");
    } catch (const std::bad_alloc&) {
        return std::u16string();
    }
}

NodeABC* ExprC::release() noexcept {
    NodeABC* tree = root_p;
    root_p = nullptr;
    reason_p = kNoExpression;
    detail.clear();
    group_mark = false;
    return tree;
}

PointerTC<AlgebraicExpressionC> ExprC::toExpression() && {
    if (root_p == nullptr) {
        return PointerTC<AlgebraicExpressionC>();
    }
    auto* expression = new (std::nothrow) AlgebraicExpressionC(root_p);
    if (expression == nullptr) {
        return PointerTC<AlgebraicExpressionC>();
    }
    release();
    return PointerTC<AlgebraicExpressionC>(expression);
}

PointerTC<AlgebraicExpressionC> ExprC::toExpression() const& { return ExprC(*this).toExpression(); }

std::u16string ExprC::toPrefixString() const {
    if (root_p == nullptr) {
        return std::u16string();
    }
    return PrefixPrintVisitorC().getExpressionString(root_p, 0, qorv::math::Standard);
}

bool ExprC::equals(const ExprC& other) const { return equalTrees(root_p, other.root_p); }

ExprC ExprC::failure(const char16_t* reason, const std::u16string& about) {
    ExprC failed;
    failed.reason_p = reason;
    try {
        failed.detail = about;
    } catch (const std::bad_alloc&) {
        failed.reason_p = kOutOfMemory;
    }
    return failed;
}

ExprC ExprC::symbol(const std::u16string& name) {
    return guarded([&] {
        PointerTC<CASSessionBC> session = CASSessionBC::getSession();
        if (!session) {
            return failure(kNoSession);
        }
        if (const char16_t* problem = nameProblem(name)) {
            return failure(problem, name);
        }
        if (PrefixSyntaxCheckC::readsAsNumber(name)) {
            return failure(kNumberName, name);
        }
        if (PointerTC<CoreElementC> element = session->lookupCoreElement(name)) {
            ExprC made = adopt(new (std::nothrow) CoreSymbolNodeC(element->getCode()));
            return made ? std::move(made) : failure(kOutOfMemory);
        }
        PointerTC<SymbolC> symbol = session->lookupSymbol(name);
        ExprC made = adopt(symbol ? new (std::nothrow) ExtendedSymbolNodeC(symbol) : nullptr);
        return made ? std::move(made) : failure(kOutOfMemory);
    });
}

ExprC ExprC::number(const std::u16string& text) {
    return guarded([&] {
        PointerTC<CASSessionBC> session = CASSessionBC::getSession();
        if (!session) {
            return failure(kNoSession);
        }
        ExprC made = adopt(numberNode(*session, text));
        return made ? std::move(made) : failure(kDeclined, text);
    });
}

ExprC ExprC::fromSigned(std::int64_t value) {
    return guarded([&] {
        char digits[24];
        return number(widen(digits, std::to_chars(digits, digits + sizeof digits, value).ptr));
    });
}

ExprC ExprC::fromUnsigned(std::uint64_t value) {
    return guarded([&] {
        char digits[24];
        return number(widen(digits, std::to_chars(digits, digits + sizeof digits, value).ptr));
    });
}

// The shortest text that reads back to the value, with ".0" when it would
// otherwise read as an integer. Infinities and NaN have no number text: the
// float factory makes them from the double.
ExprC ExprC::fromDouble(double value) {
    return guarded([&] {
        if (!std::isfinite(value)) {
            return nonFinite(value);
        }
        char text[32];
        char* end = std::to_chars(text, text + sizeof text, value).ptr;
        std::u16string written = widen(text, end);
        if (written.find_first_of(u".e") == std::u16string::npos) {
            written += u".0";
        }
        return number(written);
    });
}

// A float that is not finite has no number text of the library's own: the
// float factory makes it from the double, and it stands only when the
// client's text for it reads back to an equal tree ("1e999" may, "nan"
// never does: it reads as a symbol).
ExprC ExprC::nonFinite(double value) {
    PointerTC<CASSessionBC> session = CASSessionBC::getSession();
    if (!session) {
        return failure(kNoSession);
    }
    PointerTC<FloatValueFactoryABC> floats = session->getFloatValueFactory();
    std::unique_ptr<FloatValueABC> made(floats ? floats->fromDouble(value) : nullptr);
    if (!made) {
        return failure(kDeclined, u"a non-finite float");
    }
    ExprC node = adopt(new (std::nothrow) FloatNodeC(made.get()));
    if (!node) {
        return failure(kOutOfMemory);
    }
    made.release();  // the node owns it
    const std::u16string text = node.toPrefixString();
    PointerTC<AlgebraicExpressionC> read_back = AlgebraicExpressionC::fromPrefixString(text);
    if (!read_back || !equalTrees(read_back->getNode(), node.root_p)) {
        return failure(kNoFloatText, text);
    }
    return node;
}

ExprC ExprC::apply(const std::u16string& name, bool any_name, ExprC* arguments, std::size_t count) {
    return guarded([&] {
        for (std::size_t i = 0; i < count; ++i) {
            if (!arguments[i]) {
                return std::move(arguments[i]);  // no tree, so no group mark
            }
        }
        PointerTC<CASSessionBC> session = CASSessionBC::getSession();
        if (!session) {
            return failure(kNoSession);
        }
        if (const char16_t* problem = nameProblem(name)) {
            return failure(problem, name);
        }
        std::unique_ptr<ParentNodeABC> function;
        if (PointerTC<CoreElementC> element = session->lookupCoreElement(name)) {
            function.reset(new (std::nothrow) CoreFunctionNodeC(element->getCode()));
        } else if (!any_name) {
            return failure(kNotCore, name);
        } else if (PointerTC<SymbolC> symbol = session->lookupSymbol(name)) {
            function.reset(new (std::nothrow) ExtendedFunctionNodeC(symbol));
        }
        if (function && count == 0) {
            return failure(kNoArguments, name + u"()");
        }
        for (std::size_t i = 0; function && i < count; ++i) {
            const unsigned int before = function->numChildren();
            function->addChild(arguments[i].release());  // deletes it when the list cannot grow
            if (function->numChildren() == before) {
                function.reset();
            }
        }
        return function ? adopt(function.release()) : failure(kOutOfMemory);
    });
}

ExprC ExprC::operate(const char16_t* name, bool chain, ExprC a, ExprC b) {
    return guarded([&] {
        if (chain && a && b && !a.group_mark) {
            // b joins a when a's root is this very core function (the name
            // is looked up only for a core function's root).
            const auto* root =
                static_cast<const CoreFunctionNodeC*>(a.root_p->lookUpBase(CoreFunctionNodeC::getCastableId()));
            PointerTC<CASSessionBC> session = root != nullptr ? CASSessionBC::getSession() : nullptr;
            PointerTC<CoreElementC> element = session ? session->lookupCoreElement(name) : nullptr;
            if (element && root->getCode() == element->getCode()) {
                auto* function = static_cast<ParentNodeABC*>(a.root_p);
                const unsigned int before = function->numChildren();
                function->addChild(b.release());  // deletes it when the list cannot grow
                return function->numChildren() != before ? std::move(a) : failure(kOutOfMemory);
            }
        }
        ExprC operands[] = {std::move(a), std::move(b)};
        return apply(name, false, operands, 2);
    });
}

ExprC ExprC::subs(std::initializer_list<std::pair<ExprC, ExprC>> replacements) const {
    return guarded([&] {
        if (root_p == nullptr) {
            return ExprC(*this);
        }
        SubstitutionC substitution;
        for (const auto& [key, replacement] : replacements) {
            if (!key || !replacement) {
                return ExprC(!key ? key : replacement);
            }
            const detail::NodeKind kind = detail::kindOf(key.node());
            if (kind != detail::NodeKind::ExtendedSymbol && kind != detail::NodeKind::CoreSymbol) {
                return failure(kNotASymbol);
            }
            const bool added =
                kind == detail::NodeKind::CoreSymbol
                    ? substitution.add(static_cast<const CoreSymbolNodeC*>(key.node())->getCode(), replacement.node())
                    : substitution.add(nameOf(*static_cast<const ExtendedSymbolNodeC*>(key.node())), replacement.node());
            if (!added) {
                return failure(kOutOfMemory);
            }
        }
        ExprC made = adopt(substitution.apply(root_p));
        return made ? std::move(made) : failure(kOutOfMemory);
    });
}

}  // namespace qorv::math::algexpr
