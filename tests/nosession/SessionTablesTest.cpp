// SPDX-License-Identifier: MIT
// Sessions that are never installed: their core element and symbol tables,
// getters and destruction; and what needs a current session while none is.
#include <gtest/gtest.h>

#include <climits>
#include <memory>
#include <vector>

#include "support/Doubles.h"

namespace {

using namespace testing_doubles;

TEST(SessionTablesTest, NamesAreNumberedFromZeroUpToTheEnd) {
    const char16_t* const names[] = {u"plus", u"sin", u"pi", u"", u"after"};
    auto session = makeSession(names);
    EXPECT_EQ(session->lookupCoreElement(1)->getName(), u"sin");
    EXPECT_EQ(session->lookupCoreElement(u"pi")->getCode(), 2);
    EXPECT_EQ(session->lookupCoreElement(0)->getSymbol(), session->lookupSymbol(u"plus"));
    for (int code : {-1, 3}) {
        EXPECT_FALSE(session->lookupCoreElement(code)) << code;
    }
    for (const char16_t* name : {u"after", u"Sin", u""}) {  // the empty name ended the list
        EXPECT_FALSE(session->lookupCoreElement(name)) << narrow(name);
    }

    const char16_t* const null_entry[] = {u"a", nullptr, u"b", u""};
    auto cut = makeSession(null_entry);
    EXPECT_TRUE(cut->lookupCoreElement(u"a"));
    EXPECT_FALSE(cut->lookupCoreElement(1) || cut->lookupCoreElement(u"b"));
    const char16_t* const empty_first[] = {u"", u"x"};
    for (const char16_t* const* list : {static_cast<const char16_t* const*>(nullptr), empty_first}) {
        auto empty = makeSession(list);
        EXPECT_FALSE(empty->lookupCoreElement(0) || empty->lookupCoreElement(u"x"));
    }
}

// A name or code entered again displaces the earlier element under that key.
TEST(SessionTablesTest, RepeatedNamesAndFurtherLists) {
    const char16_t* const names[] = {u"a", u"b", u"d", u"c", u"e", u"d", u""};
    auto session = makeSession(names);
    EXPECT_EQ(session->lookupCoreElement(u"d")->getCode(), 5);
    EXPECT_EQ(session->lookupCoreElement(2)->getSymbol(), session->lookupCoreElement(5)->getSymbol());
    const char16_t* const more[] = {u"z", u"b", u""};
    session->initCoreElementTable(more);  // numbered from 0 again
    EXPECT_EQ(session->lookupCoreElement(0)->getName(), u"z");
    EXPECT_EQ(session->lookupCoreElement(u"b")->getCode(), 1);
    EXPECT_EQ(session->lookupCoreElement(u"a")->getCode(), 0);  // displaced by code only
}

TEST(SessionTablesTest, SymbolsAreInternedAndFlushed) {
    const char16_t* const names[] = {u"sin", u""};
    auto session = makeSession(names);
    PointerTC<SymbolC> x = session->lookupSymbol(u"x");
    EXPECT_NE(session->lookupSymbol(u"X"), x);
    PointerTC<SymbolC> empty = session->lookupSymbol(u"");
    EXPECT_EQ(empty->getName(), u"");
    const SymbolC* dropped = session->lookupSymbol(u"temp").get();
    EXPECT_EQ(session->lookupSymbol(u"temp").get(), dropped);  // still in the table
    std::unique_ptr<NodeABC> node(new ExtendedSymbolNodeC(session->lookupSymbol(u"held")));
    const SymbolC* held = session->lookupSymbol(u"held").get();
    const SymbolC* core = session->lookupSymbol(u"sin").get();
    session->flushUnusedSymbols();
    session->flushUnusedSymbols();
    // Symbols held by a pointer, a node or a core element are the same objects.
    const std::pair<const char16_t*, const SymbolC*> kept[] = {{u"x", x.get()}, {u"", empty.get()}, {u"held", held},
                                                               {u"sin", core}};
    for (const auto& [name, symbol] : kept) {
        EXPECT_EQ(session->lookupSymbol(name).get(), symbol) << narrow(name);
    }
    EXPECT_EQ(x->references(), 2u);  // the table and x: a flush took nothing extra
    // The dropped symbol is gone: a lookup makes a new object (fillers take
    // the memory the flush freed first, whatever order it freed it in, so the
    // addresses differ).
    std::vector<PointerTC<SymbolC>> fillers;
    for (const char16_t* name : {u"filler1", u"filler2", u"filler3", u"filler4"}) {
        fillers.push_back(session->lookupSymbol(name));
    }
    PointerTC<SymbolC> again = session->lookupSymbol(u"temp");
    EXPECT_NE(again.get(), dropped);
    EXPECT_EQ(again->getName(), u"temp");
}

TEST(SessionTablesTest, DestructionOrderAndSurvivors) {
    takeEvents();
    PointerTC<SymbolC> survivor;
    PointerTC<CoreElementC> element;
    {
        const char16_t* const names[] = {u"k", u""};
        PointerTC<TestSession> session(
            new TestSession(names, new TestIntegerFactory, new TestFloatFactory, new TestEngine));
        survivor = session->lookupSymbol(u"s");
        element = session->lookupCoreElement(0);
        EXPECT_EQ(session->getCASEngine()->getName(), u"test engine");
    }
    EXPECT_EQ(takeEvents(), (std::vector<std::string>{"~Session", "~FloatFactory", "~IntFactory", "~Engine"}));
    EXPECT_EQ(survivor->getName(), u"s");
    EXPECT_EQ(element->getName(), u"k");

    CoreElementC nameless(4, nullptr);
    EXPECT_EQ(nameless.getName(), u"");
}

TEST(NoSessionTest, NothingIsReadOrExecuted) {
    CASSessionBC::setSession(nullptr);
    EXPECT_FALSE(CASSessionBC::getSession());
    EXPECT_FALSE(AlgebraicExpressionC::fromPrefixString(u"f(x)"));

    PointerTC<AlgebraicExpressionC> e(new AlgebraicExpressionC(new CoreFunctionNodeC(4)));
    std::u16string text;
    EXPECT_FALSE(e->execute(true, &text));
    EXPECT_FALSE(e->getCASSession() || e->getCASEngine());
    EXPECT_EQ(e->references(), 1u);
    EXPECT_EQ(e->toPrefixString(0, qorv::math::Standard), u"<4>()");
    EXPECT_EQ(CoreFunctionNodeC(INT_MIN).toString(), u"<-2147483648>");
}

// Expressions without a root: what the parser never makes, but clients may.
TEST(NoSessionTest, ARootlessExpressionClonesWalksAndPrintsAsEmpty) {
    PointerTC<AlgebraicExpressionC> rootless(new AlgebraicExpressionC(nullptr));
    PointerTC<AlgebraicExpressionC> copy = rootless->clone();
    EXPECT_TRUE(copy && copy->getNode() == nullptr);
    RecordingVisitor visitor(kEveryParentVisit);
    EXPECT_TRUE(rootless->traverse(visitor));
    EXPECT_TRUE(visitor.visits.empty());
    EXPECT_EQ(rootless->toPrefixString(0, qorv::math::Standard), u"");
}

// Infix reading needs a session; writing works without one, except for core
// nodes, whose names ("<4>") are then no identifiers.
TEST(NoSessionTest, InfixAndLatex) {
    InfixReaderC reader;
    EXPECT_FALSE(reader.read(u"x + 1"));
    EXPECT_EQ(std::u16string(reader.getErrorMessage()), u"no session is current");
    EXPECT_EQ(reader.getErrorKind(), InfixReaderC::NoSession);

    const char16_t* const names[] = {u"plus", u""};
    TreeBuilder build(makeSession(names));
    std::unique_ptr<NodeABC> tree(build.fn(u"f", {build.sym(u"x"), build.integer(-2)}));
    InfixPrintVisitorC infix;
    LatexPrintVisitorC latex;
    EXPECT_EQ(infix.getExpressionString(tree.get(), 0, qorv::math::Standard), u"f(x, -2)");
    std::unique_ptr<NodeABC> core(build.core(0, {build.sym(u"x"), new CoreSymbolNodeC(4)}));
    EXPECT_EQ(infix.getExpressionString(core.get(), 0, qorv::math::Standard), u"");
    EXPECT_EQ(std::u16string(infix.getErrorMessage()), u"the name '<0>' has no infix form");
    EXPECT_EQ(latex.getExpressionString(core.get(), 0, qorv::math::Standard),
              u"\\operatorname{<0>}\\left(x, \\mathrm{<4>}\\right)");
}

}  // namespace
