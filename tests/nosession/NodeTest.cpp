// The node classes: castable identity, children, cloning, texts without a
// session, destruction order and depth.
#include <gtest/gtest.h>

#include <climits>
#include <memory>
#include <stack>

#include "support/Doubles.h"

namespace {

using namespace testing_doubles;

const char16_t* const kNames[] = {u"plus", u"x", u""};

class NodeTest : public ::testing::Test {
protected:
    void SetUp() override { takeEvents(); }
    PointerTC<TestSession> session = makeSession(kNames);
    TreeBuilder build{session};
};

// One contract over all six concrete kinds.
struct Kind {
    const char16_t* (*id)();
    NodeABC* (*make)(const TreeBuilder&);
    const char16_t* base;
    const char* visit;
};
const Kind kKinds[] = {
    {&CoreSymbolNodeC::getCastableId, [](const TreeBuilder&) -> NodeABC* { return new CoreSymbolNodeC(7); },
     u"LeafNodeABC", "<7>"},
    {&ExtendedSymbolNodeC::getCastableId, [](const TreeBuilder& b) -> NodeABC* { return b.sym(u"y"); }, u"LeafNodeABC",
     "y"},
    {&IntegerNodeC::getCastableId, [](const TreeBuilder& b) -> NodeABC* { return b.integer(42); }, u"LeafNodeABC",
     "42"},
    {&FloatNodeC::getCastableId, [](const TreeBuilder& b) -> NodeABC* { return b.real(2.5); }, u"LeafNodeABC", "2.5"},
    {&CoreFunctionNodeC::getCastableId,
     [](const TreeBuilder& b) -> NodeABC* {
         return b.core(3, {b.sym(u"a"), b.integer(1)});
     },
     u"ParentNodeABC", "<3><"},
    {&ExtendedFunctionNodeC::getCastableId, [](const TreeBuilder& b) -> NodeABC* { return b.fn(u"g", {b.real(0.5)}); },
     u"ParentNodeABC", "g<"},
};

TEST_F(NodeTest, EveryKindKeepsTheContract) {
    for (const Kind& kind : kKinds) {
        SCOPED_TRACE(narrow(kind.id()));
        std::unique_ptr<NodeABC> node(kind.make(build));
        const std::u16string own(kind.id());  // a separately stored copy
        EXPECT_EQ(node->lookUpBase(own.c_str()), node.get());
        EXPECT_EQ(node->lookUpBase(kind.base), node.get());
        EXPECT_EQ(node->lookUpBase(u"qorv::math::algexpr::NodeABC"), node.get());
        EXPECT_EQ(node->qCastableId(), kind.id());
        for (const char16_t* other :
             {u"NodeABC", u"LeafNodeABC", u"ParentNodeABC", u"FloatNodeC", u"IntegerNodeC", u"CoreSymbolNodeC",
              u"ExtendedSymbolNodeC", u"CoreFunctionNodeC", u"ExtendedFunctionNodeC", u""}) {
            if (std::u16string(other) != own && std::u16string(other) != kind.base) {
                EXPECT_EQ(node->lookUpBase(other), nullptr) << narrow(other);
            }
        }
        EXPECT_EQ(node->lookUpBase(nullptr), nullptr);

        std::unique_ptr<NodeABC> copy(node->clone());
        ASSERT_NE(copy, nullptr);
        EXPECT_NE(copy.get(), node.get());
        EXPECT_EQ(copy->qCastableId(), node->qCastableId());
        PrefixPrintVisitorC printer;
        const std::u16string text = printer.getExpressionString(node.get(), 3, qorv::math::Fixed);
        node.reset();  // the copy is independent of its source
        EXPECT_EQ(printer.getExpressionString(copy.get(), 3, qorv::math::Fixed), text);

        RecordingVisitor visitor(PreOrder);
        copy->acceptVisitor(visitor, PreOrder);
        EXPECT_EQ(visitor.visits, std::vector<std::string>{kind.visit});
    }
}

TEST_F(NodeTest, CoreTextsWithoutSession) {
    EXPECT_EQ(CoreSymbolNodeC(7).toString(), u"<7>");
    EXPECT_EQ(CoreSymbolNodeC(-1).toString(), u"<-1>");
    EXPECT_EQ(CoreFunctionNodeC(INT_MIN).toString(), u"<-2147483648>");
    // The names of a session that is not installed play no part.
    EXPECT_EQ(CoreFunctionNodeC(0).toString(), u"<0>");
}

TEST_F(NodeTest, NumberNodesOwnTheirValues) {
    FloatNodeC node(new TestFloat(1.5));
    std::unique_ptr<NodeABC> copy(node.clone());
    static_cast<FloatNodeC*>(copy.get())->setValue(9.0);
    EXPECT_EQ(node.getValue()->getValue(), 1.5);
    EXPECT_EQ(node.toString(4, qorv::math::Scientific), u"1.5|4|2");

    const FloatValueABC* held = node.getValue();
    node.setValue(const_cast<FloatValueABC*>(held));  // the held value itself: nothing changes
    EXPECT_EQ(node.getValue(), held);
    EXPECT_TRUE(takeEvents().empty());
    auto* next = new TestFloat(2.0);
    node.setValue(next);
    EXPECT_EQ(takeEvents(), std::vector<std::string>{"~Float(1.5)"});
    EXPECT_EQ(node.getValue(), next);

    IntegerNodeC integer(new TestInteger(3));
    std::unique_ptr<NodeABC> integer_copy(integer.clone());
    integer.setValue(std::int64_t{4});
    EXPECT_EQ(integer_copy->toString(), u"3");
    EXPECT_EQ(integer.toString(), u"4");
}

TEST_F(NodeTest, LeavesWithoutPayloadStaySafe) {
    IntegerNodeC integer(nullptr);
    integer.setValue(std::int64_t{5});
    FloatNodeC real(nullptr);
    real.setValue(5.0);
    ExtendedSymbolNodeC symbol(nullptr);
    ExtendedFunctionNodeC function(nullptr);
    for (NodeABC* node : std::initializer_list<NodeABC*>{&integer, &real, &symbol, &function}) {
        EXPECT_EQ(node->toString(), u"");
        std::unique_ptr<NodeABC> copy(node->clone());
        ASSERT_NE(copy, nullptr);
        EXPECT_EQ(copy->qCastableId(), node->qCastableId());
        EXPECT_EQ(copy->toString(), u"");
    }
    EXPECT_EQ(real.toString(1, qorv::math::Fixed), u"");
    real.setValue(new TestFloat(1.0));
    EXPECT_EQ(real.toString(), u"1.0");
}

TEST_F(NodeTest, ExtendedNodesShareTheirSymbol) {
    std::unique_ptr<ExtendedSymbolNodeC> node(build.sym(u"q"));
    const unsigned long before = node->getSymbol()->references();
    std::unique_ptr<NodeABC> copy(node->clone());
    auto* typed = static_cast<ExtendedSymbolNodeC*>(copy->lookUpBase(ExtendedSymbolNodeC::getCastableId()));
    EXPECT_EQ(typed->getSymbol(), node->getSymbol());
    EXPECT_EQ(node->getSymbol()->references(), before + 1);
}

TEST_F(NodeTest, ChildrenOperations) {
    std::unique_ptr<ExtendedFunctionNodeC> f(build.fn(u"f", {}));
    EXPECT_EQ(f->child(0), nullptr);
    f->addChild(nullptr);
    EXPECT_EQ(f->numChildren(), 0u);

    NodeABC* x = build.sym(u"X");
    f->addChild(x);
    NodeABC* a = build.sym(u"A");
    NodeABC* b = build.sym(u"B");
    NodeABC* c = build.sym(u"C");
    NodeABC* d = build.sym(u"D");
    std::stack<NodeABC*> stack;
    for (NodeABC* n : {a, b, c, d}) {
        stack.push(n);
    }
    f->addChildrenFromStack(stack, 5);  // more than the stack holds: nothing
    f->addChildrenFromStack(stack, 0);
    EXPECT_EQ(f->numChildren(), 1u);
    f->addChildrenFromStack(stack, 3);
    ASSERT_EQ(f->numChildren(), 4u);
    EXPECT_EQ(f->child(0), x);
    EXPECT_EQ(f->child(1), b);
    EXPECT_EQ(f->child(2), c);
    EXPECT_EQ(f->child(3), d);
    EXPECT_EQ(f->child(4), nullptr);
    ASSERT_EQ(stack.size(), 1u);
    f->addChildrenFromStack(stack, 1);
    EXPECT_TRUE(stack.empty());
    EXPECT_EQ(f->child(4), a);

    auto* p = build.integer(9);
    f->replaceChild(1, p);
    EXPECT_EQ(f->child(1), p);
    EXPECT_EQ(f->numChildren(), 5u);
    f->replaceChild(1, p);  // the very child already there
    EXPECT_EQ(f->child(1), p);
    EXPECT_TRUE(takeEvents().empty());
    f->replaceChild(5, build.integer(10));  // out of range: the node is deleted
    EXPECT_EQ(takeEvents(), std::vector<std::string>{"~Int(10)"});
    f->replaceChild(1, nullptr);
    EXPECT_EQ(takeEvents(), std::vector<std::string>{"~Int(9)"});
    EXPECT_EQ(f->child(1), nullptr);
}

TEST_F(NodeTest, DestructionIsDepthFirstInIndexOrder) {
    auto* f = build.fn(u"f", {build.integer(1),
                              build.fn(u"g", {build.integer(2), build.fn(u"h", {build.integer(3)}), build.integer(4)}),
                              build.integer(5)});
    static_cast<ParentNodeABC*>(f->child(1))->replaceChild(2, nullptr);  // null children are skipped
    takeEvents();
    delete f;
    EXPECT_EQ(takeEvents(), (std::vector<std::string>{"~Int(1)", "~Int(2)", "~Int(3)", "~Int(5)"}));
    EXPECT_EQ(TestInteger::live, 0);
}

TEST_F(NodeTest, NullChildrenAreLeftOutOfClones) {
    std::unique_ptr<ExtendedFunctionNodeC> f(build.fn(u"f", {build.sym(u"a"), build.sym(u"gone"), build.sym(u"b")}));
    f->replaceChild(1, nullptr);
    std::unique_ptr<NodeABC> copy(f->clone());
    PrefixPrintVisitorC printer;
    EXPECT_EQ(printer.getExpressionString(copy.get(), 0, qorv::math::Standard), u"f(a,b)");
    EXPECT_EQ(static_cast<ParentNodeABC*>(copy.get())->numChildren(), 2u);
}

// Nodes of a class derived from a node class are cloned and deleted through
// their own operations (they used to be copied as the base class, and to lose
// their children before their destructor ran).
TEST_F(NodeTest, DerivedNodeClassesKeepTheirOwnOperations) {
    struct Tagged : CoreFunctionNodeC {
        Tagged() : CoreFunctionNodeC(9) {}
        ~Tagged() override { events().push_back("~Tagged with " + std::to_string(numChildren())); }
        NodeABC* clone() const override {
            auto* copy = new Tagged;
            copy->addChild(child(0)->clone());
            return copy;
        }
        const char16_t* qCastableId() const override { return u"Tagged"; }
    };
    auto* tagged = new Tagged;
    tagged->addChild(build.integer(1));
    std::unique_ptr<NodeABC> tree(build.fn(u"f", {tagged}));
    std::unique_ptr<NodeABC> copy(tree->clone());
    EXPECT_EQ(narrow(static_cast<ParentNodeABC*>(copy.get())->child(0)->qCastableId()), "Tagged");
    takeEvents();
    tree.reset();
    EXPECT_EQ(takeEvents(), (std::vector<std::string>{"~Tagged with 1", "~Int(1)"}));
}

// A chain a million levels deep is cloned, walked and destroyed without
// recursion.
TEST_F(NodeTest, MillionDeepChain) {
    const int depth = 1000000;
    auto root = std::make_unique<CoreFunctionNodeC>(0);
    ParentNodeABC* tip = root.get();
    for (int i = 1; i < depth; ++i) {
        auto* next = i % 2 != 0 ? static_cast<ParentNodeABC*>(new ExtendedFunctionNodeC(session->lookupSymbol(u"f")))
                                : new CoreFunctionNodeC(1);
        tip->addChild(next);
        tip = next;
    }
    tip->addChild(build.integer(7));
    std::unique_ptr<NodeABC> copy(root->clone());
    ASSERT_NE(copy, nullptr);

    struct Counter : NodeVisitorABC {
        Counter() : NodeVisitorABC(PreOrder | PostOrder) {}
        bool visitCoreFunctionNode(CoreFunctionNodeC&, VisitationOrderE) override { return ++visits, true; }
        bool visitExtendedFunctionNode(ExtendedFunctionNodeC&, VisitationOrderE) override { return ++visits, true; }
        bool visitCoreSymbolNode(CoreSymbolNodeC&) override { return true; }
        bool visitExtendedSymbolNode(ExtendedSymbolNodeC&) override { return true; }
        bool visitFloatNode(FloatNodeC&) override { return true; }
        bool visitIntegerNode(IntegerNodeC& node) override { return leaf = node.getValue()->getValue(), true; }
        long visits = 0;
        std::int64_t leaf = 0;
    } counter;
    EXPECT_TRUE(copy->traverse(counter));
    EXPECT_EQ(counter.visits, 2L * depth);
    EXPECT_EQ(counter.leaf, 7);
    root.reset();
    copy.reset();
    EXPECT_EQ(TestInteger::live, 0);
}

}  // namespace
