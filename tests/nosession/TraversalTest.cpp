// Visit order, masks and early stops of the depth-first traversal.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

#include "support/Doubles.h"

namespace {

using namespace testing_doubles;
using Visits = std::vector<std::string>;

class TraversalTest : public ::testing::Test {
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

    PointerTC<TestSession> session = makeSession(nullptr);
    TreeBuilder build{session};
    std::unique_ptr<ExtendedFunctionNodeC> tree;
    bool finished = false;
};

const Visits kAll{"f<", "a", "f,", "g<", "b", "g>", "f,", "c", "f>"};

TEST_F(TraversalTest, MasksChooseTheParentVisits) {
    EXPECT_EQ(walk(7), kAll);
    EXPECT_EQ(walk(4), (Visits{"a", "b", "g>", "c", "f>"}));
    EXPECT_EQ(walk(0), (Visits{"a", "b", "c"}));
    EXPECT_EQ(walk(8), (Visits{"a", "b", "c"}));
}

TEST_F(TraversalTest, FirstFalseAnswerEndsTheWalk) {
    for (const std::string& stop : kAll) {
        EXPECT_EQ(walk(7, stop), Visits(kAll.begin(), std::find(kAll.begin(), kAll.end(), stop) + 1));
        EXPECT_FALSE(finished) << stop;
    }
    walk(7);
    EXPECT_TRUE(finished);
}

TEST_F(TraversalTest, NullChildrenGetNoVisitAndNoInOrderBesideThem) {
    tree->replaceChild(0, nullptr);
    EXPECT_EQ(walk(7), (Visits{"f<", "g<", "b", "g>", "f,", "c", "f>"}));
    tree->replaceChild(2, nullptr);
    EXPECT_EQ(walk(7), (Visits{"f<", "g<", "b", "g>", "f>"}));
    std::unique_ptr<NodeABC> empty(build.fn(u"h", {}));
    RecordingVisitor all(7);
    EXPECT_TRUE(empty->traverse(all));
    EXPECT_EQ(all.visits, (Visits{"h<", "h>"}));
}

// The number of children is asked afresh after each child, and a new mask
// takes effect at the next decision.
TEST_F(TraversalTest, VisitsMayChangeTheTreeAndTheMask) {
    struct Appender : RecordingVisitor {
        Appender(const TreeBuilder& build, ParentNodeABC* parent) : RecordingVisitor(7), build(build), parent(parent) {}
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
