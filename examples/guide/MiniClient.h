// SPDX-License-Identifier: MIT
// A minimal client of algexpr for the guide's examples: 64-bit integers and
// doubles with their factories, an engine, and a session whose execution
// returns a copy. Real clients put each class in a header of its own; a
// complete one is the numeric client under clients/numeric/.
#ifndef ALGEXPR_EXAMPLES_GUIDE_MINICLIENT_H
#define ALGEXPR_EXAMPLES_GUIDE_MINICLIENT_H

#include <algexpr/algexpr.h>

#include <charconv>
#include <cstdint>
#include <new>
#include <string>

namespace mini {

using namespace qorv::math::algexpr;
using qorv::oss::PointerTC;

// Number values belong to exactly one node, which deletes them. Their texts
// are ASCII, made without locale by std::to_chars.
class Integer : public IntegerValueABC {
public:
    explicit Integer(std::int64_t value) : value(value) {}
    std::int64_t getValue() const override { return value; }
    void setValue(std::int64_t v) override { value = v; }
    std::u16string toString() override {
        char text[24];
        return {text, std::to_chars(text, text + sizeof text, value).ptr};
    }
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
        char text[400];  // room for the longest double in fixed notation
        const int decimals = digits > 17 ? 17 : static_cast<int>(digits);
        return {text, std::to_chars(text, text + sizeof text, value, std::chars_format::fixed, decimals).ptr};
    }
    std::u16string toString() override { return toString(1, qorv::math::Standard); }
    FloatValueABC* clone() override { return new (std::nothrow) Real(value); }

private:
    double value;
};

// The reader hands every number text to a factory; null declines it. Here a
// number is what std::from_chars reads: "1-2", "+1" or "" are declined. Out
// of memory is thrown, not declined (see "Things worth knowing" in the guide).
template <class T>
bool readNumber(const std::u16string& text, T& value) {
    std::string bytes;
    std::size_t at = 0;
    if (Utf8C::encode(text, bytes, at) == Utf8C::OutOfMemory) {
        throw std::bad_alloc();
    }
    const char* end = bytes.data() + bytes.size();
    const std::from_chars_result read = std::from_chars(bytes.data(), end, value);
    return read.ec == std::errc() && read.ptr == end;
}

class Integers : public IntegerValueFactoryABC {
public:
    IntegerValueABC* fromString(const std::u16string& text) override {
        std::int64_t value = 0;
        // Declined, the text goes on to the float factory. Plain new: never null.
        return readNumber(text, value) ? new Integer(value) : nullptr;
    }
    IntegerValueABC* fromInt64(std::int64_t v) override { return new (std::nothrow) Integer(v); }
    IntegerValueABC* fromDouble(double v) override {
        // Only doubles that are whole numbers within range have an integer.
        const bool whole = v >= -9223372036854775808.0 && v < 9223372036854775808.0 &&
                           v == static_cast<double>(static_cast<std::int64_t>(v));
        return whole ? fromInt64(static_cast<std::int64_t>(v)) : nullptr;
    }
    IntegerValueABC* zero() override { return fromInt64(0); }
};

class Reals : public FloatValueFactoryABC {
public:
    FloatValueABC* fromString(const std::u16string& text) override {
        double value = 0;
        return readNumber(text, value) ? fromDouble(value) : nullptr;  // declined, the reading fails
    }
    FloatValueABC* fromDouble(double v) override { return new (std::nothrow) Real(v); }
    FloatValueABC* fromInt64(std::int64_t v) override { return fromDouble(static_cast<double>(v)); }
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
