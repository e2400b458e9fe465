// Recording and counting doubles for the client interfaces: number values and
// factories that log every call, an engine and a session that log their
// destruction. Values are allocated with new (std::nothrow), so running out of
// memory shows up as null, never as an exception.
#ifndef ALGEXPR_TESTS_SUPPORT_DOUBLES_H
#define ALGEXPR_TESTS_SUPPORT_DOUBLES_H

#include <cstdint>
#include <initializer_list>
#include <utility>
#include <string>
#include <vector>

#include "algexpr/algexpr.h"

namespace testing_doubles {

using namespace qorv::math::algexpr;
using qorv::oss::PointerTC;

/// Every recorded event, in order ("int(42)", "~Int(3)", "core(f)", ...).
std::vector<std::string>& events();
/// Returns the events recorded so far and forgets them.
std::vector<std::string> takeEvents();

std::string narrow(const std::u16string& text);  // code units below 128 only
std::u16string widen(const std::string& text);

class TestInteger : public IntegerValueABC {
public:
    explicit TestInteger(std::int64_t value);
    ~TestInteger() override;
    std::int64_t getValue() const override;
    void setValue(std::int64_t value) override;
    std::u16string toString() override;
    IntegerValueABC* clone() override;
    static int live;

private:
    std::int64_t value;
};

class TestFloat : public FloatValueABC {
public:
    explicit TestFloat(double value);
    ~TestFloat() override;
    double getValue() const override;
    void setValue(double value) override;
    bool isFinite() const override;
    /// "<value>|<digits>|<format>", so tests see the display arguments
    /// ("<value>" alone for 0 and Standard).
    std::u16string toString(unsigned long digits, qorv::math::NumberDisplayFormatE format) override;
    std::u16string toString() override;
    FloatValueABC* clone() override;
    static int live;

private:
    double value;
};

/// Accepts an optional "-" and 1 to 18 digits; logs "int(<text>)".
class TestIntegerFactory : public IntegerValueFactoryABC {
public:
    IntegerValueABC* fromString(const std::u16string& text) override;
    IntegerValueABC* fromInt64(std::int64_t value) override;
    IntegerValueABC* fromDouble(double value) override;
    IntegerValueABC* zero() override;
    ~TestIntegerFactory() override;
};

/// Accepts what strtod reads in full (and the empty text as 0 when
/// accept_empty is set); logs "float(<text>)".
class TestFloatFactory : public FloatValueFactoryABC {
public:
    FloatValueABC* fromString(const std::u16string& text) override;
    FloatValueABC* fromDouble(double value) override;
    FloatValueABC* fromInt64(std::int64_t value) override;
    FloatValueABC* zero() override;
    ~TestFloatFactory() override;
    bool accept_empty = false;
};

class TestEngine : public CASEngineABC {
public:
    ~TestEngine() override;
    std::u16string getName() const override;
};

/// Logs its table lookups ("core(<name>)", "sym(<name>)", "intf", "floatf")
/// when `logging` is set, and its destruction ("~Session").
/// executeExpression records its arguments and returns `result`.
class TestSession : public CASSessionBC {
public:
    TestSession(const char16_t* const* names, PointerTC<IntegerValueFactoryABC> integers,
                PointerTC<FloatValueFactoryABC> floats, PointerTC<CASEngineABC> engine = nullptr);
    ~TestSession() override;
    PointerTC<AlgebraicExpressionC> executeExpression(PointerTC<AlgebraicExpressionC> expression, bool flag,
                                                      std::u16string* text) override;
    PointerTC<IntegerValueFactoryABC> getIntegerValueFactory() const override;
    PointerTC<FloatValueFactoryABC> getFloatValueFactory() const override;
    PointerTC<CoreElementC> lookupCoreElement(std::u16string name) override;
    PointerTC<CoreElementC> lookupCoreElement(int code) override;
    PointerTC<SymbolC> lookupSymbol(std::u16string name) override;
    using CASSessionBC::initCoreElementTable;

    bool logging = false;
    bool hide_integer_factory = false;
    bool hide_float_factory = false;
    PointerTC<AlgebraicExpressionC> result;
    AlgebraicExpressionC* executed = nullptr;
    unsigned long executed_references = 0;
    bool executed_flag = false;
    std::u16string* executed_text = nullptr;
};

/// A session over the doubles with the given core names.
PointerTC<TestSession> makeSession(const char16_t* const* names);

/// Builds trees by hand with the symbols of a session (installed or not).
class TreeBuilder {
public:
    explicit TreeBuilder(PointerTC<CASSessionBC> session) : session(std::move(session)) {}
    ExtendedSymbolNodeC* sym(const char16_t* name) const;
    ExtendedFunctionNodeC* fn(const char16_t* name, std::initializer_list<NodeABC*> children) const;
    CoreFunctionNodeC* core(int code, std::initializer_list<NodeABC*> children) const;
    IntegerNodeC* integer(std::int64_t value) const;
    FloatNodeC* real(double value) const;

    PointerTC<CASSessionBC> session;
};

/// Records every visit as text: "f<" (pre), "f," (in), "f>" (post), "x" (leaf).
class RecordingVisitor : public NodeVisitorABC {
public:
    explicit RecordingVisitor(int mask) : NodeVisitorABC(mask) {}
    bool visitCoreFunctionNode(CoreFunctionNodeC& node, VisitationOrderE order) override;
    bool visitExtendedFunctionNode(ExtendedFunctionNodeC& node, VisitationOrderE order) override;
    bool visitCoreSymbolNode(CoreSymbolNodeC& node) override;
    bool visitExtendedSymbolNode(ExtendedSymbolNodeC& node) override;
    bool visitFloatNode(FloatNodeC& node) override;
    bool visitIntegerNode(IntegerNodeC& node) override;
    using NodeVisitorABC::setVisitationsMask;

    std::vector<std::string> visits;
    std::string stop_at;  // the visit that answers false

private:
    bool record(NodeABC& node, const char* suffix);
};

}  // namespace testing_doubles

#endif
