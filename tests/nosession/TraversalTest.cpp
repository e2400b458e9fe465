// Visit order, masks and early stops of the depth-first traversal.
#include <gtest/gtest.h>

#include <memory>

#include "support/Doubles.h"

namespace {

using namespace testing_doubles;
using Visits = std::vector<std::string>;

class TraversalTest : public ::testing::Test {
protected:
    // f(a, g(b), c)
    TraversalTest() : tree(build.fn(u"f", {build.sym(u"a"), build.fn(u"g", {build.sym(u"b")}), build.sym(u"c")})) {}

    Visits walk(int mask, const std::string& stop_at = "", bool* result = nullptr) {
        RecordingVisitor visitor(mask);
        visitor.stop_at = stop_at;
        const bool finished = tree->traverse(visitor);
        if (result != nullptr) {
            *result = finished;
        }
        return visitor.visits;
    }

    PointerTC<TestSession> session = makeSession(nullptr);
    TreeBuilder build{session};
    std::unique_ptr<ExtendedFunctionNodeC> tree;
};

TEST_F(TraversalTest, MasksChooseTheParentVisits) {
    EXPECT_EQ(walk(7), (Visits{"f<", "a", "f,", "g<", "b", "g>", "f,", "c", "f>"}));
    EXPECT_EQ(walk(4), (Visits{"a", "b", "g>", "c", "f>"}));
    EXPECT_EQ(walk(0), (Visits{"a", "b", "c"}));
    EXPECT_EQ(walk(8), (Visits{"a", "b", "c"}));
}

TEST_F(TraversalTest, FirstFalseAnswerEndsTheWalk) {
    bool result = true;
    EXPECT_EQ(walk(7, "f<", &result), (Visits{"f<"}));
    EXPECT_FALSE(result);
    EXPECT_EQ(walk(7, "b", &result), (Visits{"f<", "a", "f,", "g<", "b"}));
    EXPECT_FALSE(result);
    EXPECT_EQ(walk(7, "g<", &result), (Visits{"f<", "a", "f,", "g<"}));
    EXPECT_FALSE(result);
    EXPECT_EQ(walk(7, "f,", &result), (Visits{"f<", "a", "f,"}));
    EXPECT_FALSE(result);
    EXPECT_EQ(walk(7, "f>", &result).size(), 9u);
    EXPECT_FALSE(result);
    walk(7, "", &result);
    EXPECT_TRUE(result);
}

TEST_F(TraversalTest, LeavesAndEmptyFunctions) {
    std::unique_ptr<NodeABC> leaf(build.sym(u"x"));
    RecordingVisitor visitor(0);
    EXPECT_TRUE(leaf->traverse(visitor));
    visitor.stop_at = "x";
    EXPECT_FALSE(leaf->traverse(visitor));
    EXPECT_EQ(visitor.visits, (Visits{"x", "x"}));

    std::unique_ptr<NodeABC> empty(build.fn(u"h", {}));
    RecordingVisitor all(7);
    EXPECT_TRUE(empty->traverse(all));
    EXPECT_EQ(all.visits, (Visits{"h<", "h>"}));
    EXPECT_TRUE(all.interestedInVisit(InOrder));
    RecordingVisitor post(4);
    EXPECT_TRUE(post.interestedInVisit(PostOrder));
    EXPECT_FALSE(post.interestedInVisit(PreOrder));
    EXPECT_FALSE(post.interestedInVisit(InOrder));
}

TEST_F(TraversalTest, NullChildrenGetNoVisitAndNoInOrderBesideThem) {
    tree->replaceChild(0, nullptr);
    EXPECT_EQ(walk(7), (Visits{"f<", "g<", "b", "g>", "f,", "c", "f>"}));
    tree->replaceChild(2, nullptr);
    EXPECT_EQ(walk(7), (Visits{"f<", "g<", "b", "g>", "f>"}));
}

// The number of children is asked afresh after each child, and a new mask
// takes effect at the next decision.
TEST_F(TraversalTest, VisitsMayChangeTheTreeAndTheMask) {
    struct Appender : RecordingVisitor {
        Appender(const TreeBuilder& build) : RecordingVisitor(7), build(build) {}
        bool visitExtendedSymbolNode(ExtendedSymbolNodeC& node) override {
            if (node.toString() == u"c") {
                parent->addChild(build.sym(u"d"));
                setVisitationsMask(0);
            }
            return RecordingVisitor::visitExtendedSymbolNode(node);
        }
        const TreeBuilder& build;
        ParentNodeABC* parent = nullptr;
    } visitor(build);
    visitor.parent = tree.get();
    EXPECT_TRUE(tree->traverse(visitor));
    EXPECT_EQ(visitor.visits, (Visits{"f<", "a", "f,", "g<", "b", "g>", "f,", "c", "d"}));
}

}  // namespace
