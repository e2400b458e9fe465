// SPDX-License-Identifier: MIT
// Recording and counting doubles for the client interfaces: number values and
// factories that log every call, an engine and a session that log their
// destruction, a tree builder and a visitor that records its visits. Values
// and sessions are allocated with new (std::nothrow), so running out of memory
// shows up as null, never as an exception.
#ifndef ALGEXPR_TESTS_SUPPORT_DOUBLES_H
#define ALGEXPR_TESTS_SUPPORT_DOUBLES_H

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <initializer_list>
#include <new>
#include <string>
#include <utility>
#include <vector>

#include "algexpr/algexpr.h"

namespace testing_doubles {

using namespace qorv::math::algexpr;
using qorv::oss::PointerTC;

/// Every recorded event, in order ("int(42)", "~Int(3)", "core(f)", ...).
std::vector<std::string>& events();
/// Returns the events recorded so far and forgets them.
std::vector<std::string> takeEvents();

/// For fault injection: every operation of the doubles that the library calls
/// runs `client_hook` first (it may throw); with `recording` off the doubles
/// record nothing, so that they allocate nothing of their own.
inline void (*client_hook)() = [] {};
inline bool recording = true;
/// Records the event that `make` builds, while recording.
template <class Make>
void note(Make make) {
    if (recording) {
        events().push_back(make());
    }
}

inline std::string narrow(const std::u16string& text) { return std::string(text.begin(), text.end()); }
inline std::u16string widen(const std::string& text) { return std::u16string(text.begin(), text.end()); }
/// The shortest "%f" text of a value, with at least one decimal.
std::string shortest(double value);

class TestInteger : public IntegerValueABC {
public:
    explicit TestInteger(std::int64_t value) : value(value) { ++live; }
    ~TestInteger() override {
        --live;
        note([&] { return "~Int(" + std::to_string(value) + ")"; });
    }
    std::int64_t getValue() const override { return value; }
    void setValue(std::int64_t v) override { value = v; }
    std::u16string toString() override { return client_hook(), widen(std::to_string(value)); }
    IntegerValueABC* clone() override { return client_hook(), new (std::nothrow) TestInteger(value); }
    static inline int live = 0;

private:
    std::int64_t value;
};

class TestFloat : public FloatValueABC {
public:
    explicit TestFloat(double value) : value(value) { ++live; }
    ~TestFloat() override {
        --live;
        note([&] { return "~Float(" + shortest(value) + ")"; });
    }
    double getValue() const override { return value; }
    void setValue(double v) override { value = v; }
    bool isFinite() const override { return std::isfinite(value); }
    /// "<value>|<digits>|<format>", so tests see the display arguments
    /// ("<value>" alone for 0 and Standard).
    std::u16string toString(unsigned long digits, qorv::math::NumberDisplayFormatE format) override {
        if (digits == 0 && format == qorv::math::Standard) {
            return toString();
        }
        client_hook();
        return widen(shortest(value) + "|" + std::to_string(digits) + "|" + std::to_string(static_cast<int>(format)));
    }
    std::u16string toString() override { return client_hook(), widen(shortest(value)); }
    FloatValueABC* clone() override { return client_hook(), new (std::nothrow) TestFloat(value); }
    static inline int live = 0;

private:
    double value;
};

/// Accepts an optional "-" and 1 to 18 digits; logs "int(<text>)". Given the
/// text `bad_alloc_at`, throws std::bad_alloc, as a factory that allocates
/// with plain new does when memory runs out.
class TestIntegerFactory : public IntegerValueFactoryABC {
public:
    IntegerValueABC* fromString(const std::u16string& text) override;
    IntegerValueABC* fromInt64(std::int64_t v) override { return new (std::nothrow) TestInteger(v); }
    IntegerValueABC* fromDouble(double v) override { return fromInt64(static_cast<std::int64_t>(v)); }
    IntegerValueABC* zero() override { return fromInt64(0); }
    ~TestIntegerFactory() override { note([] { return std::string("~IntFactory"); }); }
    std::u16string bad_alloc_at = u"none";
};

/// Accepts what strtod reads in full (and the empty text as 0 when
/// accept_empty is set, but no text without ".", "e" or "E" when
/// decline_integers is set); logs "float(<text>)".
class TestFloatFactory : public FloatValueFactoryABC {
public:
    FloatValueABC* fromString(const std::u16string& text) override;
    FloatValueABC* fromDouble(double v) override { return new (std::nothrow) TestFloat(v); }
    FloatValueABC* fromInt64(std::int64_t v) override { return fromDouble(static_cast<double>(v)); }
    FloatValueABC* zero() override { return fromDouble(0); }
    ~TestFloatFactory() override { note([] { return std::string("~FloatFactory"); }); }
    bool accept_empty = false;
    bool decline_integers = false;
};

class TestEngine : public CASEngineABC {
public:
    ~TestEngine() override { note([] { return std::string("~Engine"); }); }
    std::u16string getName() const override { return u"test engine"; }
};

/// Logs its table lookups by name ("core(<name>)", "sym(<name>)") and its
/// factory requests ("intf", "floatf") when `logging` is set, and its
/// destruction ("~Session"). It executes nothing.
class TestSession : public CASSessionBC {
public:
    TestSession(const char16_t* const* names, PointerTC<IntegerValueFactoryABC> integers,
                PointerTC<FloatValueFactoryABC> floats, PointerTC<CASEngineABC> engine = nullptr)
        : CASSessionBC(engine, names, integers, floats) {}
    ~TestSession() override { note([] { return std::string("~Session"); }); }
    PointerTC<AlgebraicExpressionC> executeExpression(PointerTC<AlgebraicExpressionC>, bool, std::u16string*) override {
        return nullptr;
    }
    PointerTC<IntegerValueFactoryABC> getIntegerValueFactory() const override {
        log("intf");
        return hide_integer_factory ? nullptr : CASSessionBC::getIntegerValueFactory();
    }
    PointerTC<FloatValueFactoryABC> getFloatValueFactory() const override {
        log("floatf");
        return hide_float_factory ? nullptr : CASSessionBC::getFloatValueFactory();
    }
    PointerTC<CoreElementC> lookupCoreElement(std::u16string name) override {
        log("core(", &name);
        return CASSessionBC::lookupCoreElement(std::move(name));
    }
    PointerTC<CoreElementC> lookupCoreElement(int code) override {
        return client_hook(), CASSessionBC::lookupCoreElement(code);
    }
    PointerTC<SymbolC> lookupSymbol(std::u16string name) override {
        log("sym(", &name);
        return CASSessionBC::lookupSymbol(std::move(name));
    }
    using CASSessionBC::initCoreElementTable;

    bool logging = false;
    bool hide_integer_factory = false;
    bool hide_float_factory = false;

private:
    // Runs the hook, then logs "<what>" or "<what><name>)".
    void log(const char* what, const std::u16string* name = nullptr) const {
        client_hook();
        if (logging) {
            events().push_back(name != nullptr ? what + narrow(*name) + ")" : what);
        }
    }
};

/// The prefix text of a tree.
inline std::u16string print(NodeABC* node, unsigned long digits = 0,
                            qorv::math::NumberDisplayFormatE format = qorv::math::Standard) {
    return PrefixPrintVisitorC().getExpressionString(node, digits, format);
}

/// A session over the doubles with the given core names.
inline PointerTC<TestSession> makeSession(const char16_t* const* names) {
    return PointerTC<TestSession>(new (std::nothrow) TestSession(names, new (std::nothrow) TestIntegerFactory,
                                                                 new (std::nothrow) TestFloatFactory));
}

/// Builds trees by hand with the symbols of a session (installed or not).
class TreeBuilder {
public:
    explicit TreeBuilder(PointerTC<CASSessionBC> session) : session(std::move(session)) {}
    ExtendedSymbolNodeC* sym(const char16_t* name) const { return new ExtendedSymbolNodeC(session->lookupSymbol(name)); }
    ExtendedFunctionNodeC* fn(const char16_t* name, std::initializer_list<NodeABC*> children) const {
        return withChildren(new ExtendedFunctionNodeC(session->lookupSymbol(name)), children);
    }
    CoreFunctionNodeC* core(int code, std::initializer_list<NodeABC*> children) const {
        return withChildren(new CoreFunctionNodeC(code), children);
    }
    IntegerNodeC* integer(std::int64_t value) const { return new IntegerNodeC(new TestInteger(value)); }
    FloatNodeC* real(double value) const { return new FloatNodeC(new TestFloat(value)); }

    PointerTC<CASSessionBC> session;

private:
    template <class Node>
    static Node* withChildren(Node* node, std::initializer_list<NodeABC*> children) {
        for (NodeABC* child : children) {
            node->addChild(child);
        }
        return node;
    }
};

/// The mask that asks for every visit of a function node.
inline constexpr int kEveryParentVisit = PreOrder | InOrder | PostOrder;

/// Records every visit as text: "f<" (pre), "f," (in), "f>" (post), "x"
/// (leaf), and answers false at the visit named by `stop_at` (while not
/// recording, it records nothing and answers true).
class RecordingVisitor : public NodeVisitorABC {
public:
    explicit RecordingVisitor(int mask) : NodeVisitorABC(mask) {}
    bool visitCoreFunctionNode(CoreFunctionNodeC& node, VisitationOrderE order) override { return record(node, order); }
    bool visitExtendedFunctionNode(ExtendedFunctionNodeC& node, VisitationOrderE order) override {
        return record(node, order);
    }
    bool visitCoreSymbolNode(CoreSymbolNodeC& node) override { return record(node, LeafOrder); }
    bool visitExtendedSymbolNode(ExtendedSymbolNodeC& node) override { return record(node, LeafOrder); }
    bool visitFloatNode(FloatNodeC& node) override { return record(node, LeafOrder); }
    bool visitIntegerNode(IntegerNodeC& node) override { return record(node, LeafOrder); }

    std::vector<std::string> visits;
    std::string stop_at;

private:
    bool record(NodeABC& node, VisitationOrderE order) {
        client_hook();
        if (!recording) {
            return true;
        }
        const char* suffix = order == PreOrder ? "<" : order == InOrder ? "," : order == PostOrder ? ">" : "";
        visits.push_back(narrow(node.toString()) + suffix);
        return visits.back() != stop_at;
    }
};

}  // namespace testing_doubles

#endif
