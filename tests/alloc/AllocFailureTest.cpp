// SPDX-License-Identifier: MIT
// Every allocation on the paths of reading, printing, cloning and substitution
// made to fail in turn (once, and from then on), and every call into client
// code made to throw in turn: a failure must surface as a null or empty
// result, a client's exception must pass through unchanged, nothing may leak
// (number values included), and the session's tables must stay consistent.
// Printing and substitution walk the tree, so failures of the walk itself
// show there. The client is the doubles of tests/support, with the injector
// as their hook.
#include <gtest/gtest.h>

#include <cstdio>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "FailureInjector.h"
#include "support/Doubles.h"

namespace {

using namespace testing_doubles;
using Injector = FailureInjector;

const char16_t* const kNames[] = {u"sin",   u"plus",  u"g",      u"pi",    u"cos", u"arctangent",
                                  u"minus", u"times", u"divide", u"power", u"neg", u"equal", u"list", u""};

CASSessionBC& session() { return *CASSessionBC::getSession(); }

// What `make` returns, called while the injector is armed.
template <class Make>
auto armed(Make make) {
    Injector::Armed armed;
    return make();
}

// A symbol looked up twice is one working object. (Nothing here changes the
// core element table.)
void expectSymbolsConsistent() {
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
            expectSymbolsConsistent();
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
        auto read = armed([&] { return AlgebraicExpressionC::fromPrefixString(std::move(argument)); });
        return print(read ? read->getNode() : nullptr);
    });
}

// Reading with reasons: a failure is a reason, never an exception of the
// library's, and a number the factory could not make is declined.
TEST_P(AllocFailureTest, ReadingWithReasons) {
    injectEach(name("read with reasons"), [&] {
        const ReadResultC read = armed([&] {
            return AlgebraicExpressionC::readPrefix(GetParam(), AlgebraicExpressionC::ReadingE::Lax);
        });
        EXPECT_TRUE(read.ok() || read.reason() == ReadResultC::ReasonE::OutOfMemory ||
                    read.reason() == ReadResultC::ReasonE::NumberNotAccepted)
            << static_cast<int>(read.reason());
        return print(read.ok() ? read.tree()->getNode() : nullptr);
    });
}

// Neither the text so far ("f(g(") nor a text without the name that could not
// be copied ("(anotherlongname,x,1234.5)") may come out.
TEST_P(AllocFailureTest, Printing) {
    injectEach(name("print"), [&] {
        Injector::Armed armed;
        return source->toPrefixString(0, qorv::math::Standard);
    });
}

// A walk that cannot grow its work stack must not report a finished walk.
TEST_P(AllocFailureTest, Walking) {
    struct Counter : NodeVisitorABC {
        Counter() : NodeVisitorABC(PreOrder | InOrder | PostOrder) {}
        bool visitCoreFunctionNode(CoreFunctionNodeC&, VisitationOrderE) override { return ++visits, true; }
        bool visitExtendedFunctionNode(ExtendedFunctionNodeC&, VisitationOrderE) override { return ++visits, true; }
        bool visitCoreSymbolNode(CoreSymbolNodeC&) override { return ++visits, true; }
        bool visitExtendedSymbolNode(ExtendedSymbolNodeC&) override { return ++visits, true; }
        bool visitFloatNode(FloatNodeC&) override { return ++visits, true; }
        bool visitIntegerNode(IntegerNodeC&) override { return ++visits, true; }
        int visits = 0;
    };
    injectEach(name("walk"), [&] {
        Counter counter;
        const bool finished = armed([&] { return source->traverse(counter); });
        return finished ? widen(std::to_string(counter.visits)) : std::u16string();
    });
}

TEST_P(AllocFailureTest, Cloning) {
    injectEach(name("clone"), [&] {
        PointerTC<AlgebraicExpressionC> copy = armed([&] { return source->clone(); });
        return print(copy ? copy->getNode() : nullptr);
    });
}

TEST_P(AllocFailureTest, Substitution) {
    PointerTC<AlgebraicExpressionC> replacement = AlgebraicExpressionC::fromPrefixString(u"h(1,anotherlongname)");
    for (const char16_t* name : {u"x", u"anotherlongname", u""}) {  // "" for the code of pi
        injectEach(this->name("subst") + " " + narrow(name), [&] {
            const std::u16string wanted = name;
            SubstVisitorC visitor;  // a new one, so that it copies the name under the injector
            std::unique_ptr<NodeABC> result(armed([&] {
                return wanted.empty() ? visitor.subst(source->getNode(), 3, replacement->getNode())
                                      : visitor.subst(source->getNode(), wanted, replacement->getNode());
            }));
            return print(result.get());
        });
    }
}

// A subclass whose visits go on whatever the base's answer still gets null
// when memory runs out, never a copy with a node missing or misplaced (a
// function whose copy could not be made leaves its children to its parent).
TEST_P(AllocFailureTest, SubstitutionWithVisitsThatGoOn) {
    struct GoingOn : SubstVisitorC {
        bool visitCoreFunctionNode(CoreFunctionNodeC& node, VisitationOrderE order) override {
            return SubstVisitorC::visitCoreFunctionNode(node, order) || true;
        }
        bool visitExtendedFunctionNode(ExtendedFunctionNodeC& node, VisitationOrderE order) override {
            return SubstVisitorC::visitExtendedFunctionNode(node, order) || true;
        }
        bool visitCoreSymbolNode(CoreSymbolNodeC& node) override {
            return SubstVisitorC::visitCoreSymbolNode(node) || true;
        }
        bool visitExtendedSymbolNode(ExtendedSymbolNodeC& node) override {
            return SubstVisitorC::visitExtendedSymbolNode(node) || true;
        }
        bool visitFloatNode(FloatNodeC& node) override { return SubstVisitorC::visitFloatNode(node) || true; }
        bool visitIntegerNode(IntegerNodeC& node) override { return SubstVisitorC::visitIntegerNode(node) || true; }
    };
    PointerTC<AlgebraicExpressionC> replacement = AlgebraicExpressionC::fromPrefixString(u"h(1)");
    injectEach(name("subst going on"), [&] {
        GoingOn visitor;
        std::unique_ptr<NodeABC> result(armed([&] { return visitor.subst(source->getNode(), u"x", replacement->getNode()); }));
        return print(result.get());
    });
}

TEST_P(AllocFailureTest, SubstitutingSeveralSymbols) {
    PointerTC<AlgebraicExpressionC> replacement = AlgebraicExpressionC::fromPrefixString(u"h(1,anotherlongname)");
    PointerTC<AlgebraicExpressionC> other = AlgebraicExpressionC::fromPrefixString(u"y");
    const std::u16string x = u"x";
    const std::u16string longname = u"anotherlongname";
    injectEach(name("substitute several"), [&] {
        SubstitutionC substitution;  // a new one, so that it allocates under the injector
        PointerTC<AlgebraicExpressionC> result = armed([&] {
            const bool added = substitution.add(x, replacement->getNode()) &&
                               substitution.add(longname, other->getNode()) && substitution.add(3, other->getNode());
            return added ? source->substitute(substitution) : PointerTC<AlgebraicExpressionC>();
        });
        return print(result ? result->getNode() : nullptr);
    });
}

// Questions that allocate for their answer (the free symbols, and the
// subtree search, which falls back to a search without memory).
TEST_P(AllocFailureTest, AskingTheTree) {
    PointerTC<AlgebraicExpressionC> copy = source->clone();
    injectEach(name("ask"), [&] {
        std::vector<std::u16string> names;
        bool listed = false;
        bool found = false;
        {
            Injector::Armed armed;
            listed = freeSymbols(source->getNode(), names);
            found = hasSubtree(source->getNode(), copy->getNode()) && source->equals(*copy);
        }
        std::u16string answer = found ? u"yes" : u"no";
        for (const std::u16string& symbol : names) {
            answer += u" " + symbol;
        }
        return listed ? answer : std::u16string();
    });
}

std::string textName(const ::testing::TestParamInfo<std::u16string>& info) {
    const char* const names[] = {"Worked", "CoreNames", "LongNames", "Deep", "Wide", "Unclosed"};
    return names[info.index];
}

// The number among the long names has a long text, which the reader copies,
// but a short print (1234.5): the doubles' texts must fit in a string without
// allocating.
INSTANTIATE_TEST_SUITE_P(Texts, AllocFailureTest,
                         ::testing::Values(u"f(g(x,1),2.5)", u"sin(plus(pi,x),arctangent(y,-12))",
                                           u"longfunctionname(anotherlongname,x,1234.5000)",
                                           std::u16string(40, u'(') + u"x" + std::u16string(40, u')'), wideText(),
                                           u"f(sin(x),g(1),2.5"),  // read the general way
                         textName);

// Infix reading, and infix and LaTeX writing of what was read.
class InfixAllocFailureTest : public ::testing::TestWithParam<std::u16string> {
protected:
    std::string name(const char* operation) const { return std::string(operation) + " " + narrow(GetParam()); }
    PointerTC<AlgebraicExpressionC> source = InfixReaderC().read(GetParam());
};

TEST_P(InfixAllocFailureTest, Reading) {
    injectEach(name("read infix"), [&] {
        InfixReaderC reader;
        auto read = armed([&] { return reader.read(GetParam()); });
        // Each text reads when memory suffices; a factory that could not
        // make a value declines it.
        const InfixReaderC::ErrorE kind = reader.getErrorKind();
        EXPECT_TRUE(read || kind == InfixReaderC::OutOfMemory || kind == InfixReaderC::NumberNotAccepted) << kind;
        return print(read ? read->getNode() : nullptr);
    });
}

TEST_P(InfixAllocFailureTest, Printing) {
    injectEach(name("print infix"), [&] {
        InfixPrintVisitorC printer;
        Injector::Armed armed;
        return printer.getExpressionString(source->getNode(), 0, qorv::math::Standard);
    });
}

TEST_P(InfixAllocFailureTest, PrintingLatex) {
    injectEach(name("print LaTeX"), [&] {
        LatexPrintVisitorC printer;
        Injector::Armed armed;
        return printer.getExpressionString(source->getNode(), 0, qorv::math::Standard);
    });
}

std::string infixTextName(const ::testing::TestParamInfo<std::u16string>& info) {
    const char* const names[] = {"Worked", "LongNames", "Deep", "Wide", "LatexForms"};
    return names[info.index];
}

// Names and numbers long enough to be allocated, powers whose base LaTeX
// looks into, chains that outgrow the stacks' first blocks, and the forms
// LaTeX writes in pieces or looks ahead for (powers of calls, derivatives).
INSTANTIATE_TEST_SUITE_P(
    Texts, InfixAllocFailureTest,
    ::testing::Values(u"2*x + sin(pi/6) - g(y, -3, 2.5)^2",
                      u"longfunctionname(anotherlongname)^-x / arctangent(1234.5000, -12) * 2^anotherlongname",
                      std::u16string(40, u'(') + u"-(-x)^2" + std::u16string(40, u')') + u" + (x + 1)^2^3",
                      [] {
                          std::u16string t = u"pi";
                          for (int i = 0; i < 40; ++i) {
                              t += u" + x*1";
                          }
                          return t;
                      }(),
                      u"pdiff(pdiff(f(x), 1), 1) = [sin(x)^2, cos(sin(y)^3)^x, pdiff(g(x, y), 2), x_max, _]"),
    infixTextName);

// A prefix printer's visit answers false when its text cannot grow, so that
// the walk stops: for a name longer than a text's first buffer, and for the
// "(" after a name that fills it.
TEST(AllocFailurePrinterTest, AVisitThatCannotGrowItsTextStopsTheWalk) {
    ExtendedSymbolNodeC leaf(session().lookupSymbol(u"anotherlongname"));
    ExtendedFunctionNodeC call(session().lookupSymbol(u"abcdefg"));
    const std::function<bool(PrefixPrintVisitorC&)> visits[] = {
        [&](PrefixPrintVisitorC& printer) { return printer.visitExtendedSymbolNode(leaf); },
        [&](PrefixPrintVisitorC& printer) { return printer.visitExtendedFunctionNode(call, PreOrder); }};
    for (const auto& visit : visits) {
        int stopped = 0;
        for (long k = 1;; ++k) {
            PrefixPrintVisitorC printer;
            Injector::prepare(Injector::FailOnce, k);
            bool answer;
            {
                Injector::Armed armed;
                answer = visit(printer);
            }
            if (!Injector::fired()) {
                EXPECT_TRUE(answer);
                break;
            }
            stopped += answer ? 0 : 1;
        }
        EXPECT_GT(stopped, 0);
    }
    Injector::prepare(Injector::None, 0);
}

// A session built while memory runs short leaves out whole elements only, and
// no symbol table entry without a symbol.
TEST(AllocFailureSessionTest, BuildingASession) {
    injectEach("build a session", [] {
        PointerTC<TestSession> built = armed([] { return makeSession(kNames); });
        bool complete = static_cast<bool>(built);
        for (int code = 0; built && kNames[code][0] != 0; ++code) {
            PointerTC<CoreElementC> element = built->lookupCoreElement(code);
            complete = complete && element;
            if (element != built->lookupCoreElement(kNames[code]) || (element && element->getName() != kNames[code]) ||
                !built->lookupSymbol(kNames[code])) {
                return u"inconsistent";
            }
        }
        return complete ? u"complete" : u"";
    });
}

// Building in C++: every value that could not be built says so, and holds no
// tree; nothing leaks.
TEST(AllocFailureSessionTest, BuildingInCpp) {
    const std::u16string longname = u"anotherlongname";
    const std::u16string function = u"longfunctionname";
    injectEach("build in C++", [&] {
        Injector::Armed armed;
        ExprC x = sym(longname);
        ExprC e = x + 2 * sin(x) - pow(call(function, x, 0.5), 3);
        e = std::move(e) + ExprC(-7) + x;
        return e ? e.toPrefixString() : std::u16string();
    });
}

// Printing in the three notations, and a tree handed to a new expression:
// each gives all or nothing, and the tree is freed when no expression holds it.
TEST(AllocFailureSessionTest, PrintingInEveryNotationAndAdopting) {
    PointerTC<AlgebraicExpressionC> e =
        AlgebraicExpressionC::fromPrefixString(u"plus(longfunctionname(x,1234.5),anotherlongname)");
    injectEach("print in every notation", [&] {
        std::u16string texts[3];
        std::u16string why;
        {
            Injector::Armed armed;
            texts[0] = toText(e->getNode(), NotationE::Prefix);
            texts[1] = toText(e->getNode(), NotationE::Infix, 0, qorv::math::Standard, &why);
            texts[2] = toText(e->getNode(), NotationE::Latex);
        }
        const bool all = !texts[0].empty() && !texts[1].empty() && !texts[2].empty();
        return all ? texts[0] + u"|" + texts[1] + u"|" + texts[2] : std::u16string();
    });
    injectEach("adopt a tree", [&] {
        std::unique_ptr<NodeABC> tree(e->getNode()->clone());
        PointerTC<AlgebraicExpressionC> held;
        {
            Injector::Armed armed;
            held = AlgebraicExpressionC::adopt(std::move(tree));
        }
        return held ? held->toPrefixString() : std::u16string();
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

// Each conversion either converts in full or says that memory ran out and
// leaves its result empty.
TEST(AllocFailureSessionTest, ConvertingUtf8) {
    injectEach("convert to and from UTF-8", [] {
        const std::string bytes = "longfunctionname(\xC3\xA9t\xC3\xA9,\xF0\x9D\x91\xA5,\xFF)";
        const std::u16string wanted = u"longfunctionname(\u00e9t\u00e9,\U0001d465,\ufffd)";
        std::u16string decoded = u"stale";
        std::u16string lenient;
        std::string encoded = "stale";
        std::string again;
        std::size_t offset = 0;
        Utf8C::StatusE decoding;
        Utf8C::StatusE encoding;
        {
            Injector::Armed armed;
            decoding = Utf8C::decode(std::string_view(bytes).substr(0, bytes.size() - 2), decoded, offset);
            encoding = Utf8C::encode(wanted, encoded, offset);
            again = Utf8C::toUtf8(wanted);
            lenient = Utf8C::toUtf16(bytes);
        }
        const std::string wanted_bytes = bytes.substr(0, bytes.size() - 2) + "\xEF\xBF\xBD)";
        const bool full = decoding == Utf8C::Converted && decoded + u"\ufffd)" == wanted &&
                          encoding == Utf8C::Converted && encoded == wanted_bytes && again == wanted_bytes &&
                          lenient == wanted;
        const bool consistent = (decoding == Utf8C::Converted || (decoding == Utf8C::OutOfMemory && decoded.empty())) &&
                                (encoding == Utf8C::Converted || (encoding == Utf8C::OutOfMemory && encoded.empty()));
        return full ? wanted : consistent ? u"" : u"inconsistent";
    });
}

// Patterns: compiling, matching (commutative, with a sequence), rewriting
// with a condition, and judging by forms. Each reports memory running out
// as such, never as a different answer.
// The opt-in wildcards and conditions that take part in matching.
TEST(AllocFailureSessionTest, MatchingModuloAlgebra) {
    PointerTC<AlgebraicExpressionC> tree = AlgebraicExpressionC::fromPrefixString(
        u"g(neg(power(x,2)),plus(x,times(y,2)),plus(times(2,y),x),times(y,2))");
    PointerTC<AlgebraicExpressionC> pattern = AlgebraicExpressionC::fromPrefixString(
        u"g(times(wild(c,default(1)),power(x,wild(n,default(1)))),wild(a,unordered),wild(a),times(wild(p),wild(q)))");
    PointerTC<AlgebraicExpressionC> replacement = AlgebraicExpressionC::fromPrefixString(u"f(wild(c),wild(p))");
    PointerTC<AlgebraicExpressionC> condition = AlgebraicExpressionC::fromPrefixString(u"integer(wild(p))");
    injectEach("matching modulo algebra", [&] {
        RewriterC rewriter;
        std::u16string problem;
        RewriterC::ResultS rewritten;
        bool added = false;
        {
            Injector::Armed armed;
            added = rewriter.addRule(pattern->getNode(), replacement->getNode(), condition->getNode(), &problem);
            if (added) {
                rewritten = rewriter.rewrite(tree->getNode());
            }
        }
        if (!added || rewritten.status != RewriterC::StatusE::Done) {
            EXPECT_TRUE(problem == u"out of memory" || problem.empty()) << narrow(problem);
            return std::u16string();
        }
        return print(rewritten.tree.get());
    });
}

TEST(AllocFailureSessionTest, Patterns) {
    const PatternC::SettingsS settings;
    PointerTC<AlgebraicExpressionC> tree = AlgebraicExpressionC::fromPrefixString(u"plus(g(x,1),times(x,2),sin(x),pi)");
    PointerTC<AlgebraicExpressionC> pattern =
        AlgebraicExpressionC::fromPrefixString(u"plus(times(2,wild(a)),sin(wild(a)),wilds(r))");
    PointerTC<AlgebraicExpressionC> replacement = AlgebraicExpressionC::fromPrefixString(u"g(wilds(r),wild(a))");
    PointerTC<AlgebraicExpressionC> condition = AlgebraicExpressionC::fromPrefixString(u"symbol(wild(a))");
    injectEach("patterns", [&] {
        PatternC compiled;
        MatcherC matcher;
        std::unique_ptr<RewriterC> rewriter;
        std::unique_ptr<PatternConstraintsC> forms;
        RewriterC::ResultS rewritten;
        PatternConstraintsC::VerdictS verdict;
        MatchResultE found = MatchResultE::NoMatch;
        MatchResultE everywhere = MatchResultE::NoMatch;
        std::vector<MatcherC::PlaceS> places;
        bool added = false;
        std::u16string problem;
        PatternC::SettingsS for_rules = settings, for_forms = settings;  // moved in without allocating
        {
            Injector::Armed armed;
            found = compiled.compile(pattern->getNode(), settings, &problem) ? matcher.match(compiled, tree->getNode())
                                                                    : MatchResultE::OutOfMemory;
            rewriter.reset(new (std::nothrow) RewriterC(std::move(for_rules)));
            forms.reset(new (std::nothrow) PatternConstraintsC(std::move(for_forms)));
            added = rewriter && forms &&
                    rewriter->addRule(pattern->getNode(), replacement->getNode(), condition->getNode(), &problem) &&
                    forms->accept(pattern->getNode(), condition->getNode(), &problem);
            if (found == MatchResultE::Matched) {
                everywhere = matcher.matchAll(compiled, tree->getNode(), places);
            }
            if (added) {
                rewritten = rewriter->rewrite(tree->getNode());
                verdict = forms->judge(tree->getNode(), true);
            }
        }
        if (found != MatchResultE::Matched || everywhere != MatchResultE::Matched || !added || rewritten.status != RewriterC::StatusE::Done ||
            verdict.out_of_memory) {
            EXPECT_TRUE(problem == u"out of memory" || problem.empty()) << narrow(problem);
            return std::u16string();
        }
        std::u16string text = std::u16string(places.size() == 1 ? u"once " : u"not once ") + u" " +
                              std::u16string(verdict.acceptable ? u"accepted " : u"not accepted ");
        return text + print(rewritten.tree.get());
    });
}

// A count that cannot be spread for want of memory stays on one count,
// exact, and nothing is left allocated for it.
TEST(SpreadingUnderFailureTest, CountStaysOnOneCount) {
    struct CountedS : qorv::oss::RefCountedBC {};
    using qorv::oss::detail::CountSpreading;
    PointerTC<CountedS> keeper(new CountedS);
    const long allocations = Injector::live();
    Injector::prepare(Injector::FailOnce, 1);
    EXPECT_FALSE(armed([&] { return CountSpreading::spread(*keeper); }));
    EXPECT_TRUE(Injector::fired());
    Injector::prepare(Injector::None, 0);
    EXPECT_EQ(Injector::live(), allocations);
    EXPECT_FALSE(CountSpreading::isSpread(*keeper));
    PointerTC<CountedS> other = keeper;
    EXPECT_EQ(keeper->references(), 2u);
    EXPECT_EQ(other->dereference(), 1u);
    other->reference();
}

}  // namespace

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    client_hook = &Injector::clientCall;
    recording = false;
    PointerTC<TestSession> installed = makeSession(kNames);
    // An integer whose value could not be made must not read as a float.
    static_cast<TestFloatFactory*>(installed->CASSessionBC::getFloatValueFactory().get())->decline_integers = true;
    CASSessionBC::setSession(installed);
    return RUN_ALL_TESTS();
}
