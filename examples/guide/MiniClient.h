// A minimal client of algexpr, shared by the guide's examples: 64-bit
// integers and doubles as number values, their factories, an engine, and a
// session whose execution returns a copy of the expression.
//
// Real clients put each class in its own header; a complete one is the
// numeric client under clients/numeric/.
#ifndef ALGEXPR_EXAMPLES_GUIDE_MINICLIENT_H
#define ALGEXPR_EXAMPLES_GUIDE_MINICLIENT_H

#include <algexpr/algexpr.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <new>
#include <string>

namespace mini {

using namespace qorv::math::algexpr;
using qorv::oss::PointerTC;

// Texts here are ASCII, so a code unit maps to a char.
inline std::string ascii(const std::u16string& text) { return std::string(text.begin(), text.end()); }
inline std::u16string wide(const std::string& text) { return std::u16string(text.begin(), text.end()); }

// Number values belong to exactly one node, which deletes them.
class Integer : public IntegerValueABC {
public:
    explicit Integer(std::int64_t value) : value(value) {}
    std::int64_t getValue() const override { return value; }
    void setValue(std::int64_t v) override { value = v; }
    std::u16string toString() override { return wide(std::to_string(value)); }
    IntegerValueABC* clone() override { return new (std::nothrow) Integer(value); }

private:
    std::int64_t value;
};

class Real : public FloatValueABC {
public:
    explicit Real(double value) : value(value) {}
    double getValue() const override { return value; }
    void setValue(double v) override { value = v; }
    bool isFinite() const override { return value - value == 0; }
    // Here the digits argument is the number of decimals, and the format is ignored.
    std::u16string toString(unsigned long digits, qorv::math::NumberDisplayFormatE) override {
        char text[64];
        std::snprintf(text, sizeof text, "%.*f", static_cast<int>(digits > 17 ? 17 : digits), value);
        return wide(text);
    }
    std::u16string toString() override { return toString(1, qorv::math::Standard); }
    FloatValueABC* clone() override { return new (std::nothrow) Real(value); }

private:
    double value;
};

// The reader hands every number text to a factory; null declines it.
class Integers : public IntegerValueFactoryABC {
public:
    IntegerValueABC* fromString(const std::u16string& text) override {
        if (text.empty() || text.size() > 18 || text.find_first_not_of(u"0123456789") != std::u16string::npos) {
            return nullptr;  // the float factory gets the text next
        }
        // Plain new: out of memory must not look like "not an integer", or
        // the float factory would take the text. std::bad_alloc passes
        // through fromPrefixString instead.
        return new Integer(std::strtoll(ascii(text).c_str(), nullptr, 10));
    }
    IntegerValueABC* fromInt64(std::int64_t v) override { return new (std::nothrow) Integer(v); }
    IntegerValueABC* fromDouble(double v) override {
        // Only doubles that are whole numbers within range have an integer.
        if (!(v >= -9223372036854775808.0 && v < 9223372036854775808.0) ||
            v != static_cast<double>(static_cast<std::int64_t>(v))) {
            return nullptr;
        }
        return new (std::nothrow) Integer(static_cast<std::int64_t>(v));
    }
    IntegerValueABC* zero() override { return fromInt64(0); }
};

class Reals : public FloatValueFactoryABC {
public:
    FloatValueABC* fromString(const std::u16string& text) override {
        // Plain decimal notation only (strtod alone would also take "inf",
        // "nan", hexadecimal and leading spaces).
        const std::string number = ascii(text);
        char* end = nullptr;
        const double value = std::strtod(number.c_str(), &end);
        if (number.empty() || text.find_first_not_of(u"0123456789.eE+-") != std::u16string::npos ||
            end != number.c_str() + number.size()) {
            return nullptr;  // the whole reading fails
        }
        return new (std::nothrow) Real(value);
    }
    FloatValueABC* fromDouble(double v) override { return new (std::nothrow) Real(v); }
    FloatValueABC* fromInt64(std::int64_t v) override { return new (std::nothrow) Real(static_cast<double>(v)); }
    FloatValueABC* zero() override { return fromDouble(0); }
};

class Engine : public CASEngineABC {
public:
    std::u16string getName() const override { return u"mini engine"; }
};

// The one operation a session must implement: what executing means.
class Session : public CASSessionBC {
public:
    using CASSessionBC::CASSessionBC;
    PointerTC<AlgebraicExpressionC> executeExpression(PointerTC<AlgebraicExpressionC> expression, bool,
                                                      std::u16string* text) override {
        if (text != nullptr) {
            *text = u"copied by " + getCASEngine()->getName();
        }
        return expression->clone();
    }
};

// The core vocabulary: each name's position is its code.
inline const char16_t* const kCoreNames[] = {u"plus", u"times", u"sin", u"cos", u"pi", u""};

// Builds the session and makes it the current one (once per process).
inline void installSession() {
    PointerTC<CASSessionBC> session(new Session(new Engine, kCoreNames, new Integers, new Reals));
    CASSessionBC::setSession(session);
}

}  // namespace mini

#endif
