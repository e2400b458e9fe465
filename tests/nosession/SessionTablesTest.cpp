// Sessions that are never installed: their core element and symbol tables,
// getters and destruction.
#include <gtest/gtest.h>

#include <memory>

#include "support/Doubles.h"

namespace {

using namespace testing_doubles;

class SessionTablesTest : public ::testing::Test {
protected:
    void SetUp() override { takeEvents(); }
};

TEST_F(SessionTablesTest, NamesAreNumberedFromZero) {
    const char16_t* const names[] = {u"plus", u"sin", u"pi", u"", u"after"};
    auto session = makeSession(names);
    EXPECT_EQ(session->lookupCoreElement(1)->getName(), u"sin");
    EXPECT_EQ(session->lookupCoreElement(u"pi")->getCode(), 2);
    EXPECT_FALSE(session->lookupCoreElement(-1));
    EXPECT_FALSE(session->lookupCoreElement(3));
    EXPECT_FALSE(session->lookupCoreElement(u"after"));  // the empty name ended the list
    EXPECT_FALSE(session->lookupCoreElement(u"Sin"));
    EXPECT_FALSE(session->lookupCoreElement(u""));
    EXPECT_EQ(session->lookupCoreElement(0)->getSymbol(), session->lookupSymbol(u"plus"));
}

TEST_F(SessionTablesTest, DegenerateListsGiveEmptyTables) {
    const char16_t* const empty_first[] = {u"", u"x"};
    const char16_t* const null_entry[] = {u"a", nullptr, u"b", u""};
    auto none = makeSession(nullptr);
    auto empty = makeSession(empty_first);
    auto cut = makeSession(null_entry);
    for (TestSession* session : {none.get(), empty.get()}) {
        EXPECT_FALSE(session->lookupCoreElement(0));
        EXPECT_FALSE(session->lookupCoreElement(u"x"));
    }
    EXPECT_TRUE(cut->lookupCoreElement(u"a"));
    EXPECT_FALSE(cut->lookupCoreElement(1));
    EXPECT_FALSE(cut->lookupCoreElement(u"b"));
}

TEST_F(SessionTablesTest, RepeatedNamesAndFurtherLists) {
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

TEST_F(SessionTablesTest, SymbolsAreInternedAndFlushed) {
    const char16_t* const names[] = {u"sin", u""};
    auto session = makeSession(names);
    PointerTC<SymbolC> x = session->lookupSymbol(u"x");
    EXPECT_EQ(session->lookupSymbol(u"x"), x);
    EXPECT_NE(session->lookupSymbol(u"X"), x);
    PointerTC<SymbolC> empty = session->lookupSymbol(u"");
    EXPECT_EQ(empty->getName(), u"");
    EXPECT_EQ(session->lookupSymbol(u""), empty);

    const SymbolC* dropped = session->lookupSymbol(u"temp").get();
    EXPECT_EQ(session->lookupSymbol(u"temp").get(), dropped);  // still in the table
    std::unique_ptr<NodeABC> node(new ExtendedSymbolNodeC(session->lookupSymbol(u"held")));
    const SymbolC* held = session->lookupSymbol(u"held").get();
    const SymbolC* core = session->lookupSymbol(u"sin").get();
    session->flushUnusedSymbols();
    session->flushUnusedSymbols();
    EXPECT_EQ(session->lookupSymbol(u"x"), x);
    EXPECT_EQ(session->lookupSymbol(u"held").get(), held);
    EXPECT_EQ(session->lookupSymbol(u"sin").get(), core);
    EXPECT_EQ(x->references(), 2u);  // the table and x: a flush took nothing extra
    // The dropped symbol is gone: a lookup makes a new object (the filler
    // takes the freed memory first, so the addresses differ).
    PointerTC<SymbolC> filler = session->lookupSymbol(u"filler");
    PointerTC<SymbolC> again = session->lookupSymbol(u"temp");
    EXPECT_NE(again.get(), dropped);
    EXPECT_EQ(again->getName(), u"temp");
}

TEST_F(SessionTablesTest, DestructionOrderAndSurvivors) {
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
    EXPECT_EQ(element->getCode(), 0);

    PointerTC<TestSession> bare(new TestSession(nullptr, nullptr, nullptr));
    EXPECT_FALSE(bare->getCASEngine());
    EXPECT_FALSE(bare->CASSessionBC::getIntegerValueFactory());
    EXPECT_FALSE(bare->CASSessionBC::getFloatValueFactory());

    CoreElementC nameless(4, nullptr);
    EXPECT_EQ(nameless.getName(), u"");
    EXPECT_EQ(nameless.getCode(), 4);
}

}  // namespace
