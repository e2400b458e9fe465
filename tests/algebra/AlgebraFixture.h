// SPDX-License-Identifier: MIT
// The numeric client's session, installed by the first test of the tree
// algebra's executable, and helpers to read, print and build trees under it.
#ifndef ALGEXPR_TESTS_ALGEBRA_ALGEBRAFIXTURE_H
#define ALGEXPR_TESTS_ALGEBRA_ALGEBRAFIXTURE_H

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <string>

#include "algexpr/numeric.h"

namespace algebra_tests {

using namespace qorv::math::algexpr;
using qorv::oss::PointerTC;
using Tree = std::unique_ptr<NodeABC>;

inline std::string narrow(const std::u16string& text) { return std::string(text.begin(), text.end()); }

inline CASSessionBC& session() {
    static const bool installed = [] {
        CASSessionBC::setSession(PointerTC<CASSessionBC>(new numeric::NumericSessionC));
        return true;
    }();
    (void)installed;
    return *CASSessionBC::getSession();
}

/// The tree read from prefix text, owned by the caller; fails the test (and
/// gives null) when the text does not read.
inline Tree read(const std::u16string& text) {
    session();
    PointerTC<AlgebraicExpressionC> e = AlgebraicExpressionC::fromPrefixString(text);
    EXPECT_TRUE(e) << narrow(text);
    return Tree(e ? e->getNode()->clone() : nullptr);
}

/// The prefix text of a tree; "null" for null.
inline std::string text(const NodeABC* tree) {
    return tree != nullptr ? narrow(PrefixPrintVisitorC().getExpressionString(const_cast<NodeABC*>(tree), 0,
                                                                             qorv::math::Standard))
                           : "null";
}

/// Leaves and functions made by hand, for what reading cannot make.
inline NodeABC* symbol(const std::u16string& name) { return new ExtendedSymbolNodeC(session().lookupSymbol(name)); }
inline ParentNodeABC* function(const std::u16string& name, std::initializer_list<NodeABC*> arguments) {
    auto* node = new ExtendedFunctionNodeC(session().lookupSymbol(name));
    for (NodeABC* argument : arguments) {
        node->addChild(argument);
    }
    return node;
}
inline NodeABC* real(double value) { return new FloatNodeC(new numeric::FloatValueC(value)); }

/// f(f(...f(x)...)) with n applications of f, made by hand.
inline Tree deepChain(std::size_t n, const std::u16string& leaf = u"x") {
    Tree root(symbol(leaf));
    for (std::size_t i = 0; i < n; ++i) {
        ParentNodeABC* f = function(u"f", {});
        f->addChild(root.release());
        root.reset(f);
    }
    return root;
}

/// f(x1,x2,...) with n symbol arguments cycling through `names`.
inline Tree wideCall(std::size_t n, std::initializer_list<const char16_t*> names = {u"x", u"y"}) {
    ParentNodeABC* f = function(u"f", {});
    for (std::size_t i = 0; i < n; ++i) {
        f->addChild(symbol(names.begin()[i % names.size()]));
    }
    return Tree(f);
}

/// An integer of any size held as its decimal text, whose getValue()
/// saturates at the 64-bit limits, as the GiNaC client's does.
class BigInteger : public IntegerValueABC {
public:
    explicit BigInteger(std::u16string digits) : digits(std::move(digits)) {}
    std::int64_t getValue() const override {
        const bool negative = !digits.empty() && digits[0] == u'-';
        const std::size_t length = digits.size() - (negative ? 1 : 0);
        if (length > 18) {
            return negative ? INT64_MIN : INT64_MAX;
        }
        return std::stoll(narrow(digits));
    }
    void setValue(std::int64_t value) override { digits = widen(std::to_string(value)); }
    std::u16string toString() override { return digits; }
    IntegerValueABC* clone() override { return new BigInteger(digits); }

private:
    static std::u16string widen(const std::string& s) { return std::u16string(s.begin(), s.end()); }
    std::u16string digits;
};

/// A float that keeps a text of its own beside its double, as a client with
/// more digits than a double does.
class LongFloat : public FloatValueABC {
public:
    LongFloat(double value, std::u16string text) : value(value), text(std::move(text)) {}
    double getValue() const override { return value; }
    void setValue(double v) override { value = v; }
    bool isFinite() const override { return value - value == 0; }
    std::u16string toString(unsigned long, qorv::math::NumberDisplayFormatE) override { return text; }
    std::u16string toString() override { return text; }
    FloatValueABC* clone() override { return new LongFloat(value, text); }

private:
    double value;
    std::u16string text;
};

/// A client's class derived from the node class `Base`, with an id of its own.
template <class Base>
class Tagged : public Base {
public:
    explicit Tagged(const char16_t* name) : Base(session().lookupSymbol(name)) {}
    const char16_t* qCastableId() const override { return u"Tagged"; }
    void* lookUpBase(const char16_t* id) const override {
        return std::u16string(id != nullptr ? id : u"") == u"Tagged" ? const_cast<Tagged*>(this)
                                                                     : Base::lookUpBase(id);
    }
};

/// A client's function class derived from ParentNodeABC alone.
class Bag : public ParentNodeABC {
public:
    NodeABC* clone() const override {
        auto* copy = new Bag;
        for (const NodeABC* argument : children()) {
            copy->addChild(argument != nullptr ? argument->clone() : nullptr);
        }
        return copy;
    }
    std::u16string toString() const override { return u"bag"; }
    bool acceptVisitor(NodeVisitorABC&, VisitationOrderE) override { return true; }
    const char16_t* qCastableId() const override { return u"Bag"; }
};

inline NodeABC* bigInteger(const std::u16string& digits) { return new IntegerNodeC(new BigInteger(digits)); }
inline NodeABC* longFloat(double value, const std::u16string& text) { return new FloatNodeC(new LongFloat(value, text)); }

}  // namespace algebra_tests

#endif
