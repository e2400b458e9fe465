// A minimal client: a session with a core vocabulary and number factories,
// then one expression read, printed, copied with a substitution and printed.
#include <cstdint>
#include <iostream>
#include <string>

#include "algexpr/algexpr.h"

using namespace qorv::math::algexpr;
using qorv::oss::PointerTC;

namespace {

std::string narrow(const std::u16string& text) { return std::string(text.begin(), text.end()); }
std::u16string widen(const std::string& text) { return std::u16string(text.begin(), text.end()); }

class Integer : public IntegerValueABC {
public:
    explicit Integer(std::int64_t v) : value(v) {}
    std::int64_t getValue() const override { return value; }
    void setValue(std::int64_t v) override { value = v; }
    std::u16string toString() override { return widen(std::to_string(value)); }
    IntegerValueABC* clone() override { return new Integer(value); }

private:
    std::int64_t value;
};

class Float : public FloatValueABC {
public:
    explicit Float(double v) : value(v) {}
    double getValue() const override { return value; }
    void setValue(double v) override { value = v; }
    bool isFinite() const override { return value - value == 0; }
    std::u16string toString(unsigned long, qorv::math::NumberDisplayFormatE) override { return toString(); }
    std::u16string toString() override { return widen(std::to_string(value)); }
    FloatValueABC* clone() override { return new Float(value); }

private:
    double value;
};

class Integers : public IntegerValueFactoryABC {
public:
    IntegerValueABC* fromString(const std::u16string& text) override {
        if (text.empty() || text.find_first_not_of(u"0123456789") != std::u16string::npos || text.size() > 18) {
            return nullptr;
        }
        return new Integer(std::stoll(narrow(text)));
    }
    IntegerValueABC* fromInt64(std::int64_t v) override { return new Integer(v); }
    IntegerValueABC* fromDouble(double v) override { return new Integer(static_cast<std::int64_t>(v)); }
    IntegerValueABC* zero() override { return new Integer(0); }
};

class Floats : public FloatValueFactoryABC {
public:
    FloatValueABC* fromString(const std::u16string& text) override {
        try {
            std::size_t used = 0;
            double v = std::stod(narrow(text), &used);
            return used == text.size() ? new Float(v) : nullptr;
        } catch (const std::exception&) {
            return nullptr;
        }
    }
    FloatValueABC* fromDouble(double v) override { return new Float(v); }
    FloatValueABC* fromInt64(std::int64_t v) override { return new Float(static_cast<double>(v)); }
    FloatValueABC* zero() override { return new Float(0); }
};

class Session : public CASSessionBC {
public:
    using CASSessionBC::CASSessionBC;
    PointerTC<AlgebraicExpressionC> executeExpression(PointerTC<AlgebraicExpressionC> e, bool,
                                                      std::u16string*) override {
        return e;
    }
};

}  // namespace

int main() {
    static const char16_t* const names[] = {u"plus", u"times", u"sin", u"pi", u""};
    CASSessionBC::setSession(PointerTC<CASSessionBC>(new Session(nullptr, names, new Integers, new Floats)));

    PointerTC<AlgebraicExpressionC> e = AlgebraicExpressionC::fromPrefixString(u"plus(times(2, x), sin(pi), 0.5)");
    if (!e) {
        std::cerr << "does not read\n";
        return 1;
    }
    std::cout << "read:        " << narrow(e->toPrefixString(0, qorv::math::Standard)) << '\n';

    PointerTC<AlgebraicExpressionC> y = AlgebraicExpressionC::fromPrefixString(u"f(y)");
    SubstVisitorC subst;
    AlgebraicExpressionC replaced(subst.subst(e->getNode(), u"x", y->getNode()));
    std::cout << "x -> f(y):   " << narrow(replaced.toPrefixString(0, qorv::math::Standard)) << '\n';
    return 0;
}
