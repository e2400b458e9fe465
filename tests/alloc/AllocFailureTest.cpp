// Every allocation on the paths of reading, printing, cloning, substitution
// and traversal made to fail in turn (once, and from then on), and every call
// into client code made to throw in turn: a failure must surface as a null or
// empty result, a client's exception must pass through unchanged, nothing may
// leak, and the session's tables must stay consistent.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <functional>
#include <memory>
#include <new>
#include <string>

#include "FailureInjector.h"
#include "algexpr/algexpr.h"

namespace {

using namespace qorv::math::algexpr;
using qorv::oss::PointerTC;
using Injector = FailureInjector;

int live_values = 0;

// Numbers print in at most 7 code units, which a string holds without allocating.
std::u16string numberText(double value) {
    char buffer[32];
    const int n = std::snprintf(buffer, sizeof buffer, "%g", value);
    return std::u16string(buffer, buffer + n);
}

// The doubles allocate with new (std::nothrow), so they never throw on their
// own; each call first gives the injector its chance to throw ClientError
// (the comma operator makes that call first).
class Integer : public IntegerValueABC {
public:
    explicit Integer(std::int64_t v) : value(v) { ++live_values; }
    ~Integer() override { --live_values; }
    std::int64_t getValue() const override { return value; }
    void setValue(std::int64_t v) override { value = v; }
    std::u16string toString() override { return Injector::clientCall(), numberText(static_cast<double>(value)); }
    IntegerValueABC* clone() override { return Injector::clientCall(), new (std::nothrow) Integer(value); }
    std::int64_t value;
};

class Float : public FloatValueABC {
public:
    explicit Float(double v) : value(v) { ++live_values; }
    ~Float() override { --live_values; }
    double getValue() const override { return value; }
    void setValue(double v) override { value = v; }
    bool isFinite() const override { return true; }
    std::u16string toString(unsigned long, qorv::math::NumberDisplayFormatE) override { return toString(); }
    std::u16string toString() override { return Injector::clientCall(), numberText(value); }
    FloatValueABC* clone() override { return Injector::clientCall(), new (std::nothrow) Float(value); }
    double value;
};

// Whether the text is a whole number of the kind asked for (a float text has
// ".", "e" or "E"), so that a declined integer never reads as a float.
bool number(const std::u16string& t, bool real, double& value) {
    char buffer[32] = "";
    for (std::size_t i = 0; i < t.size() && i + 1 < sizeof buffer; ++i) {
        buffer[i] = t[i] < 0x80 ? static_cast<char>(t[i]) : '?';
    }
    char* end = nullptr;
    value = std::strtod(buffer, &end);
    return !t.empty() && end == buffer + t.size() && real == (t.find_first_of(u".eE") != std::u16string::npos);
}

class IntegerFactory : public IntegerValueFactoryABC {
public:
    IntegerValueABC* fromString(const std::u16string& t) override {
        double v = 0;
        Injector::clientCall();
        return number(t, false, v) ? new (std::nothrow) Integer(static_cast<std::int64_t>(v)) : nullptr;
    }
    IntegerValueABC* fromInt64(std::int64_t v) override { return new (std::nothrow) Integer(v); }
    IntegerValueABC* fromDouble(double) override { return nullptr; }
    IntegerValueABC* zero() override { return new (std::nothrow) Integer(0); }
};

class FloatFactory : public FloatValueFactoryABC {
public:
    FloatValueABC* fromString(const std::u16string& t) override {
        double v = 0;
        Injector::clientCall();
        return number(t, true, v) ? new (std::nothrow) Float(v) : nullptr;
    }
    FloatValueABC* fromDouble(double v) override { return new (std::nothrow) Float(v); }
    FloatValueABC* fromInt64(std::int64_t v) override { return new (std::nothrow) Float(static_cast<double>(v)); }
    FloatValueABC* zero() override { return new (std::nothrow) Float(0); }
};

const char16_t* const kNames[] = {u"sin", u"plus", u"g", u"pi", u"cos", u"arctangent", u""};

class Session : public CASSessionBC {
public:
    Session() : CASSessionBC(nullptr, kNames, new (std::nothrow) IntegerFactory, new (std::nothrow) FloatFactory) {}
    PointerTC<AlgebraicExpressionC> executeExpression(PointerTC<AlgebraicExpressionC>, bool, std::u16string*) override {
        return nullptr;
    }
    PointerTC<CoreElementC> lookupCoreElement(std::u16string name) override {
        return Injector::clientCall(), CASSessionBC::lookupCoreElement(std::move(name));
    }
    PointerTC<CoreElementC> lookupCoreElement(int code) override {
        return Injector::clientCall(), CASSessionBC::lookupCoreElement(code);
    }
    PointerTC<SymbolC> lookupSymbol(std::u16string name) override {
        return Injector::clientCall(), CASSessionBC::lookupSymbol(std::move(name));
    }
};

class ClientVisitor : public NodeVisitorABC {
public:
    ClientVisitor() : NodeVisitorABC(PreOrder | InOrder | PostOrder) {}
    bool visitCoreFunctionNode(CoreFunctionNodeC&, VisitationOrderE) override { return Injector::clientCall(), true; }
    bool visitExtendedFunctionNode(ExtendedFunctionNodeC&, VisitationOrderE) override {
        return Injector::clientCall(), true;
    }
    bool visitCoreSymbolNode(CoreSymbolNodeC&) override { return Injector::clientCall(), true; }
    bool visitExtendedSymbolNode(ExtendedSymbolNodeC&) override { return Injector::clientCall(), true; }
    bool visitFloatNode(FloatNodeC&) override { return Injector::clientCall(), true; }
    bool visitIntegerNode(IntegerNodeC&) override { return Injector::clientCall(), true; }
};

CASSessionBC& session() { return *CASSessionBC::getSession(); }

std::u16string print(NodeABC* node) { return PrefixPrintVisitorC().getExpressionString(node, 0, qorv::math::Standard); }

std::string narrow(const std::u16string& t) { return std::string(t.begin(), t.end()); }

// Each core name is found under its code and its name as the same element,
// and a symbol looked up twice is one working object.
void expectTablesConsistent() {
    for (int code = 0; kNames[code][0] != 0; ++code) {
        PointerTC<CoreElementC> element = session().lookupCoreElement(kNames[code]);
        ASSERT_TRUE(element && element->getCode() == code) << code;
        EXPECT_EQ(element, session().lookupCoreElement(code));
    }
    for (const char16_t* name : {u"x", u"anotherlongname", u"longfunctionname"}) {
        PointerTC<SymbolC> symbol = session().lookupSymbol(name);
        ASSERT_TRUE(symbol && symbol->getName() == name) << narrow(name);
        EXPECT_EQ(symbol, session().lookupSymbol(name));
    }
}

// Runs `operation`, which arms the injector around the call under test and
// returns the result as text (empty for null), once undisturbed for the
// expected text, then with each failure point in turn in every mode, until a
// run no longer reaches the point.
void injectEach(const std::string& what, const std::function<std::u16string()>& operation) {
    Injector::prepare(Injector::None, 0);
    const std::u16string expected = operation();
    ASSERT_FALSE(expected.empty()) << what;
    std::string points;
    for (auto mode : {Injector::FailOnce, Injector::FailFromThen, Injector::ClientThrows}) {
        long k = 1;
        for (; !::testing::Test::HasFailure(); ++k) {
            session().flushUnusedSymbols();
            const long allocations = Injector::live();
            const int values = live_values;
            Injector::prepare(mode, k);
            bool client_error = false;
            bool other_error = false;
            bool documented = false;
            char shown[128] = "";  // nothing may be allocated between the two counts
            {
                std::u16string got;
                try {
                    got = operation();
                } catch (const ClientError& error) {
                    client_error = error.call == k;
                } catch (...) {
                    other_error = true;
                }
                documented = client_error || got == expected || (Injector::fired() && got.empty());
                for (std::size_t i = 0; !documented && i < got.size() && i + 1 < sizeof shown; ++i) {
                    shown[i] = static_cast<char>(got[i]);
                }
            }
            session().flushUnusedSymbols();
            const long leaked = Injector::live() - allocations;
            const std::string at = what + ", mode " + std::to_string(mode) + ", k " + std::to_string(k);
            EXPECT_FALSE(other_error) << at;
            EXPECT_EQ(client_error, mode == Injector::ClientThrows && Injector::fired()) << at;
            EXPECT_TRUE(documented) << at << ": " << shown;
            EXPECT_EQ(leaked, 0) << at;
            EXPECT_EQ(live_values, values) << at;
            expectTablesConsistent();
            if (!Injector::fired()) {
                break;
            }
        }
        points += " " + std::to_string(k - 1);
    }
    std::printf("%s: failure points%s\n", what.c_str(), points.c_str());
}

// plus(x,1,x,1,...,pi): more arguments than one block of the substitution's stack holds.
std::u16string wideText() {
    std::u16string t = u"plus(";
    for (int i = 0; i < 40; ++i) {
        t += u"x,1,";
    }
    return t + u"pi)";
}

class AllocFailureTest : public ::testing::TestWithParam<std::u16string> {
protected:
    std::string name(const char* operation) const { return std::string(operation) + " " + narrow(GetParam()); }
    PointerTC<AlgebraicExpressionC> source = AlgebraicExpressionC::fromPrefixString(GetParam());
};

TEST_P(AllocFailureTest, Reading) {
    injectEach(name("read"), [&] {
        std::u16string argument = GetParam();
        PointerTC<AlgebraicExpressionC> read;
        {
            Injector::Armed armed;
            read = AlgebraicExpressionC::fromPrefixString(std::move(argument));
        }
        return print(read ? read->getNode() : nullptr);
    });
}

// Neither the text so far ("f(g(") nor a text without the name that could not
// be copied ("(anotherlongname,x,1234.57)") may come out.
TEST_P(AllocFailureTest, Printing) {
    injectEach(name("print"), [&] {
        Injector::Armed armed;
        return source->toPrefixString(0, qorv::math::Standard);
    });
}

TEST_P(AllocFailureTest, Cloning) {
    injectEach(name("clone"), [&] {
        PointerTC<AlgebraicExpressionC> copy;
        {
            Injector::Armed armed;
            copy = source->clone();
        }
        return print(copy ? copy->getNode() : nullptr);
    });
}

TEST_P(AllocFailureTest, Substitution) {
    PointerTC<AlgebraicExpressionC> replacement = AlgebraicExpressionC::fromPrefixString(u"h(1,anotherlongname)");
    for (const char16_t* name : {u"x", u"anotherlongname", u""}) {  // "" for the code of pi
        injectEach(this->name("subst") + " " + narrow(name), [&] {
            const std::u16string wanted = name;
            SubstVisitorC visitor;  // a new one, so that it copies the name under the injector
            std::unique_ptr<NodeABC> result;
            {
                Injector::Armed armed;
                result.reset(wanted.empty() ? visitor.subst(source->getNode(), 3, replacement->getNode())
                                            : visitor.subst(source->getNode(), wanted, replacement->getNode()));
            }
            return print(result.get());
        });
    }
}

TEST_P(AllocFailureTest, TraversalWithAClientVisitor) {
    injectEach(name("traverse"), [&] {
        ClientVisitor visitor;
        Injector::Armed armed;
        return source->traverse(visitor) ? u"walked" : u"";
    });
}

std::string textName(const ::testing::TestParamInfo<std::u16string>& info) {
    const char* const names[] = {"Worked", "CoreNames", "LongNames", "Deep", "Wide", "Unclosed"};
    return names[info.index];
}

INSTANTIATE_TEST_SUITE_P(Texts, AllocFailureTest,
                         ::testing::Values(u"f(g(x,1),2.5)", u"sin(plus(pi,x),arctangent(y,-12))",
                                           u"longfunctionname(anotherlongname,x,1234.5678)",
                                           std::u16string(40, u'(') + u"x" + std::u16string(40, u')'), wideText(),
                                           u"f(sin(x),g(1),2.5"),  // read the general way
                         textName);

// A session built while memory runs short leaves out whole elements only.
TEST(AllocFailureSessionTest, BuildingASession) {
    injectEach("build a session", [] {
        PointerTC<Session> built;
        {
            Injector::Armed armed;
            built = new (std::nothrow) Session;
        }
        bool complete = static_cast<bool>(built);
        for (int code = 0; built && kNames[code][0] != 0; ++code) {
            PointerTC<CoreElementC> element = built->lookupCoreElement(code);
            complete = complete && element;
            if (element != built->lookupCoreElement(kNames[code]) || (element && element->getName() != kNames[code])) {
                return u"inconsistent";
            }
        }
        return complete ? u"complete" : u"";
    });
}

// A core code without a name prints as "?<code>?", a text that has to be made too.
TEST(AllocFailureSessionTest, PrintingACodeWithoutAName) {
    PointerTC<AlgebraicExpressionC> unnamed(new AlgebraicExpressionC(new CoreSymbolNodeC(1234567)));
    injectEach("print a code without a name", [&] {
        Injector::Armed armed;
        return unnamed->toPrefixString(0, qorv::math::Standard);
    });
}

// The container under the visitor's stack allocates when it is made, so the
// visitor must not make it before its first substitution.
TEST(AllocFailureSessionTest, MakingASubstVisitor) {
    injectEach("make a substitution visitor", [] {
        Injector::Armed armed;
        SubstVisitorC visitor;
        return u"made";
    });
}

}  // namespace

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    CASSessionBC::setSession(PointerTC<CASSessionBC>(new Session));
    return RUN_ALL_TESTS();
}
