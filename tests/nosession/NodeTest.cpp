// SPDX-License-Identifier: MIT
// The node classes: castable identity, children, cloning, destruction order
// and traversal (trees a million deep: the parser test and the tool test).
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <stack>
#include <tuple>

#include "support/Doubles.h"

namespace {

using namespace testing_doubles;
using Events = std::vector<std::string>;
using Visits = std::vector<std::string>;

// Codes 0 and 1 have names here, but the session is not installed: core
// nodes print as "<code>".
const char16_t* const kNames[] = {u"plus", u"x", u""};

class NodeTest : public ::testing::Test {
protected:
    void SetUp() override { takeEvents(); }
    PointerTC<TestSession> session = makeSession(kNames);
    TreeBuilder build{session};
};

// One contract over all six concrete kinds. (Which visit each kind makes
// shows in every walk: the traversal, printing and substitution tests.)
TEST_F(NodeTest, EveryKindKeepsTheContract) {
    const std::tuple<NodeABC*, const char16_t*, const char16_t*> kinds[] = {
        {new CoreSymbolNodeC(1), CoreSymbolNodeC::getCastableId(), u"LeafNodeABC"},
        {build.sym(u"y"), ExtendedSymbolNodeC::getCastableId(), u"LeafNodeABC"},
        {build.integer(42), IntegerNodeC::getCastableId(), u"LeafNodeABC"},
        {build.real(2.5), FloatNodeC::getCastableId(), u"LeafNodeABC"},
        {build.core(0, {build.sym(u"a"), build.integer(1)}), CoreFunctionNodeC::getCastableId(), u"ParentNodeABC"},
        {build.fn(u"g", {build.real(0.5)}), ExtendedFunctionNodeC::getCastableId(), u"ParentNodeABC"},
    };
    for (const auto& [made, id, base] : kinds) {
        SCOPED_TRACE(narrow(id));
        std::unique_ptr<NodeABC> node(made);
        const std::u16string own(id);  // a separately stored copy
        EXPECT_EQ(node->lookUpBase(own.c_str()), node.get());
        EXPECT_EQ(node->lookUpBase(base), node.get());
        EXPECT_EQ(node->lookUpBase(u"qorv::math::algexpr::NodeABC"), node.get());
        EXPECT_EQ(node->qCastableId(), id);
        for (const char16_t* other :
             {u"NodeABC", u"LeafNodeABC", u"ParentNodeABC", u"FloatNodeC", u"IntegerNodeC", u"CoreSymbolNodeC",
              u"ExtendedSymbolNodeC", u"CoreFunctionNodeC", u"ExtendedFunctionNodeC", u""}) {
            if (std::u16string(other) != own && std::u16string(other) != base) {
                EXPECT_EQ(node->lookUpBase(other), nullptr) << narrow(other);
            }
        }
        EXPECT_EQ(node->lookUpBase(nullptr), nullptr);

        std::unique_ptr<NodeABC> copy(node->clone());
        ASSERT_NE(copy, nullptr);
        EXPECT_EQ(copy->qCastableId(), node->qCastableId());
        const std::u16string printed = print(node.get(), 3, qorv::math::Fixed);
        node.reset();  // the copy is independent of its source
        EXPECT_EQ(print(copy.get(), 3, qorv::math::Fixed), printed);
    }
}

// A copy owns new number values but shares the symbol of its source.
TEST_F(NodeTest, CopiesOwnTheirValuesAndShareTheirSymbol) {
    FloatNodeC node(new TestFloat(1.5));
    std::unique_ptr<NodeABC> copy(node.clone());
    static_cast<FloatNodeC*>(copy.get())->setValue(9.0);
    EXPECT_EQ(node.toString(4, qorv::math::Scientific), u"1.5|4|2");
    node.setValue(const_cast<FloatValueABC*>(node.getValue()));  // the held value itself: nothing changes
    EXPECT_TRUE(takeEvents().empty());
    node.setValue(new TestFloat(2.0));
    EXPECT_EQ(takeEvents(), Events{"~Float(1.5)"});
    EXPECT_EQ(node.toString(), u"2.0");

    IntegerNodeC integer(new TestInteger(3));
    std::unique_ptr<NodeABC> integer_copy(integer.clone());
    integer.setValue(std::int64_t{4});
    EXPECT_EQ(integer_copy->toString() + integer.toString(), u"34");

    std::unique_ptr<ExtendedSymbolNodeC> symbol(build.sym(u"q"));
    std::unique_ptr<NodeABC> symbol_copy(symbol->clone());
    EXPECT_EQ(static_cast<ExtendedSymbolNodeC*>(symbol_copy.get())->getSymbol(), symbol->getSymbol());
}

TEST_F(NodeTest, LeavesWithoutPayloadStaySafe) {
    IntegerNodeC integer(nullptr);
    integer.setValue(std::int64_t{5});
    FloatNodeC real(nullptr);
    real.setValue(5.0);
    ExtendedSymbolNodeC symbol(nullptr);
    ExtendedFunctionNodeC function(nullptr);
    for (NodeABC* node : std::initializer_list<NodeABC*>{&integer, &real, &symbol, &function}) {
        std::unique_ptr<NodeABC> copy(node->clone());
        ASSERT_NE(copy, nullptr);
        EXPECT_EQ(copy->qCastableId(), node->qCastableId());
        EXPECT_EQ(node->toString() + copy->toString(), u"");
    }
    EXPECT_EQ(real.toString(1, qorv::math::Fixed), u"");
    real.setValue(new TestFloat(1.0));
    EXPECT_EQ(real.toString(), u"1.0");
}

TEST_F(NodeTest, ChildrenOperations) {
    std::unique_ptr<ExtendedFunctionNodeC> f(build.fn(u"f", {nullptr, build.sym(u"X")}));  // null is ignored
    std::stack<NodeABC*> stack;
    for (const char16_t* name : {u"A", u"B", u"C", u"D"}) {
        stack.push(build.sym(name));
    }
    NodeABC* d = stack.top();
    f->addChildrenFromStack(stack, 5);  // more than the stack holds: nothing
    f->addChildrenFromStack(stack, 0);
    EXPECT_EQ(print(f.get()), u"f(X)");
    f->addChildrenFromStack(stack, 3);  // in the order pushed
    EXPECT_EQ(print(f.get()), u"f(X,B,C,D)");
    EXPECT_EQ(f->child(3), d);
    EXPECT_EQ(f->child(4), nullptr);
    f->addChildrenFromStack(stack, 1);

    auto* p = build.integer(9);
    f->replaceChild(1, p);
    f->replaceChild(1, p);                  // the very child already there
    f->replaceChild(5, build.integer(10));  // out of range: the node is deleted
    EXPECT_EQ(print(f.get()), u"f(X,9,C,D,A)");
    f->replaceChild(1, nullptr);
    EXPECT_EQ(takeEvents(), (Events{"~Int(10)", "~Int(9)"}));
    EXPECT_EQ(f->child(1), nullptr);
}

// Null children are skipped by destruction and left out of clones.
TEST_F(NodeTest, DestructionIsDepthFirstInIndexOrder) {
    auto* f = build.fn(u"f", {build.integer(1),
                              build.fn(u"g", {build.integer(2), build.fn(u"h", {build.integer(3)}), build.integer(4)}),
                              build.integer(5)});
    static_cast<ParentNodeABC*>(f->child(1))->replaceChild(2, nullptr);
    std::unique_ptr<NodeABC> copy(f->clone());
    EXPECT_EQ(print(copy.get()), u"f(1,g(2,h(3)),5)");
    EXPECT_EQ(static_cast<ParentNodeABC*>(static_cast<ParentNodeABC*>(copy.get())->child(1))->numChildren(), 2u);
    takeEvents();
    delete f;
    EXPECT_EQ(takeEvents(), (Events{"~Int(1)", "~Int(2)", "~Int(3)", "~Int(5)"}));
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
    EXPECT_EQ(takeEvents(), (Events{"~Tagged with 1", "~Int(1)"}));
}

// Visit order, masks and early stops of the depth-first traversal.
class TraversalTest : public NodeTest {
protected:
    // f(a, g(b), c)
    TraversalTest() : tree(build.fn(u"f", {build.sym(u"a"), build.fn(u"g", {build.sym(u"b")}), build.sym(u"c")})) {}

    // The visits of a walk; `finished` tells whether it ran to its end.
    Visits walk(int mask, const std::string& stop_at = "") {
        RecordingVisitor visitor(mask);
        visitor.stop_at = stop_at;
        finished = tree->traverse(visitor);
        return visitor.visits;
    }

    std::unique_ptr<ExtendedFunctionNodeC> tree;
    bool finished = false;
};

const Visits kAll{"f<", "a", "f,", "g<", "b", "g>", "f,", "c", "f>"};

TEST_F(TraversalTest, MasksChooseTheParentVisits) {
    EXPECT_EQ(walk(PostOrder), (Visits{"a", "b", "g>", "c", "f>"}));
    EXPECT_EQ(walk(0), (Visits{"a", "b", "c"}));
    EXPECT_EQ(walk(LeafOrder), (Visits{"a", "b", "c"}));  // leaves are visited whatever the mask
}

TEST_F(TraversalTest, FirstFalseAnswerEndsTheWalk) {
    for (const std::string& stop : kAll) {
        EXPECT_EQ(walk(kEveryParentVisit, stop), Visits(kAll.begin(), std::find(kAll.begin(), kAll.end(), stop) + 1));
        EXPECT_FALSE(finished) << stop;
    }
    EXPECT_EQ(walk(kEveryParentVisit), kAll);
    EXPECT_TRUE(finished);
}

TEST_F(TraversalTest, NullChildrenGetNoVisitAndNoInOrderBesideThem) {
    tree->replaceChild(0, nullptr);
    EXPECT_EQ(walk(kEveryParentVisit), (Visits{"f<", "g<", "b", "g>", "f,", "c", "f>"}));
    tree->replaceChild(2, nullptr);
    EXPECT_EQ(walk(kEveryParentVisit), (Visits{"f<", "g<", "b", "g>", "f>"}));
}

// The number of children is asked afresh after each child, and a new mask
// takes effect at the next decision.
TEST_F(TraversalTest, VisitsMayChangeTheTreeAndTheMask) {
    struct Appender : RecordingVisitor {
        Appender(const TreeBuilder& build, ParentNodeABC* parent)
            : RecordingVisitor(kEveryParentVisit), build(build), parent(parent) {}
        bool visitExtendedSymbolNode(ExtendedSymbolNodeC& node) override {
            if (node.toString() == u"c") {
                parent->addChild(build.sym(u"d"));
                setVisitationsMask(0);
            }
            return RecordingVisitor::visitExtendedSymbolNode(node);
        }
        const TreeBuilder& build;
        ParentNodeABC* parent;
    } visitor(build, tree.get());
    EXPECT_TRUE(tree->traverse(visitor));
    EXPECT_EQ(visitor.visits, (Visits{"f<", "a", "f,", "g<", "b", "g>", "f,", "c", "d"}));
}

}  // namespace
