// SPDX-License-Identifier: MIT
// Walking every node: the cursor's orders and depths, the ranges, null
// children, walks inside walks, changes made during a walk, clients' own node
// classes, and trees a million deep and a million wide.
#include <string>
#include <thread>
#include <vector>

#include "AlgebraFixture.h"

namespace algebra_tests {
namespace {

// "name@depth" for every node of a walk.
std::vector<std::string> walk(const NodeABC* tree, VisitationOrderE order) {
    std::vector<std::string> seen;
    for (TreeCursorC cursor(tree, order); cursor.node() != nullptr; cursor.next()) {
        seen.push_back(narrow(cursor.node()->toString()) + "@" + std::to_string(cursor.depth()));
    }
    return seen;
}

using Seen = std::vector<std::string>;

TEST(TreeWalkTest, OrdersAndDepths) {
    // k and m: functions without arguments, which only hands make.
    Tree tree(function(u"f", {symbol(u"a"), read(u"g(b,h(c))").release(), function(u"k", {}), symbol(u"d"),
                              function(u"m", {})}));
    EXPECT_EQ(walk(tree.get(), PreOrder),
              (Seen{"f@0", "a@1", "g@1", "b@2", "h@2", "c@3", "k@1", "d@1", "m@1"}));
    EXPECT_EQ(walk(tree.get(), PostOrder),
              (Seen{"a@1", "b@2", "c@3", "h@2", "g@1", "k@1", "d@1", "m@1", "f@0"}));
    EXPECT_EQ(walk(tree.get(), InOrder), walk(tree.get(), PreOrder));  // any other order walks in pre-order

    Tree leaf = read(u"x");
    EXPECT_EQ(walk(leaf.get(), PreOrder), Seen{"x@0"});
    EXPECT_EQ(walk(leaf.get(), PostOrder), Seen{"x@0"});
    EXPECT_TRUE(walk(nullptr, PreOrder).empty() && walk(nullptr, PostOrder).empty());

    TreeCursorC end;
    end.next();  // stays at the end
    EXPECT_EQ(end.node(), nullptr);
}

TEST(TreeWalkTest, NullChildrenAreSkipped) {
    Tree tree = read(u"f(a,g(b,c),d)");
    auto* f = static_cast<ParentNodeABC*>(tree.get());
    f->replaceChild(0, nullptr);
    static_cast<ParentNodeABC*>(f->child(1))->replaceChild(1, nullptr);
    f->replaceChild(2, nullptr);
    EXPECT_EQ(walk(tree.get(), PreOrder), (Seen{"f@0", "g@1", "b@2"}));
    EXPECT_EQ(walk(tree.get(), PostOrder), (Seen{"b@2", "g@1", "f@0"}));
    static_cast<ParentNodeABC*>(f->child(1))->replaceChild(0, nullptr);  // only nulls left below g
    EXPECT_EQ(walk(tree.get(), PostOrder), (Seen{"g@1", "f@0"}));
}

TEST(TreeWalkTest, RangesServeRangeFor) {
    Tree tree = read(u"plus(x,times(2,y))");
    std::string pre;
    for (NodeABC* node : preOrder(tree.get())) {
        pre += narrow(node->toString()) + " ";
    }
    EXPECT_EQ(pre, "plus x times 2 y ");
    const NodeABC* constant = tree.get();
    std::string post;
    for (const NodeABC* node : postOrder(constant)) {
        post += narrow(node->toString()) + " ";
    }
    EXPECT_EQ(post, "x 2 y times plus ");
    auto range = preOrder(static_cast<NodeABC*>(nullptr));
    EXPECT_TRUE(range.begin() == range.end());
    auto it = postOrder(constant).begin();
    EXPECT_EQ(narrow((*it++)->toString()), "x");
    EXPECT_EQ(narrow((*it)->toString()), "2");
}

// Walks of a subtree, of the same tree and of a whole tree from inside a walk
// leave the outer walk where it was.
TEST(TreeWalkTest, WalksNestInsideWalks) {
    Tree tree = read(u"f(g(a,h(b)),k(c,d),e)");
    const Seen expected = walk(tree.get(), PreOrder);
    Seen outer;
    for (TreeCursorC cursor(tree.get(), PreOrder); cursor.node() != nullptr; cursor.next()) {
        outer.push_back(narrow(cursor.node()->toString()) + "@" + std::to_string(cursor.depth()));
        EXPECT_EQ(walk(tree.get(), PostOrder).size(), 9u);
        EXPECT_EQ(walk(cursor.node(), PreOrder).size(), treeSize(cursor.node()));
    }
    EXPECT_EQ(outer, expected);
}

TEST(TreeWalkTest, TheCurrentNodeMayGetNewArguments) {
    Tree tree = read(u"f(a,g(b),c)");
    Seen pre;
    for (TreeCursorC cursor(tree.get(), PreOrder); cursor.node() != nullptr; cursor.next()) {
        pre.push_back(narrow(cursor.node()->toString()));
        if (pre.back() == "g") {  // its arguments are walked as they are now
            auto* g = const_cast<ParentNodeABC*>(static_cast<const ParentNodeABC*>(cursor.node()));
            g->replaceChild(0, symbol(u"B"));
            for (int i = 0; i < 9; ++i) {  // the list grows into new memory
                g->addChild(symbol(u"n"));
            }
        }
    }
    EXPECT_EQ(pre, (Seen{"f", "a", "g", "B", "n", "n", "n", "n", "n", "n", "n", "n", "n", "c"}));

    Seen post;
    for (NodeABC* node : postOrder(tree.get())) {
        post.push_back(narrow(node->toString()));
        if (post.back() == "g") {  // already walked below
            static_cast<ParentNodeABC*>(node)->replaceChild(0, symbol(u"Q"));
        }
    }
    EXPECT_EQ(post.size(), 14u);
    EXPECT_EQ(post[11], "g");
    EXPECT_EQ(text(tree.get()), "f(a,g(Q,n,n,n,n,n,n,n,n,n),c)");
}

// A client's classes with ids of their own: a function derived from the
// library's (Tagged) and one derived from ParentNodeABC alone (Bag).
TEST(TreeWalkTest, ClientsOwnNodeClassesAreWalkedThrough) {
    auto* tagged = new Tagged<ExtendedFunctionNodeC>(u"tagged");
    tagged->addChild(symbol(u"a"));
    auto* bag = new Bag;
    bag->addChild(symbol(u"b"));
    bag->addChild(tagged);
    Tree tree(function(u"f", {bag, symbol(u"c")}));
    EXPECT_EQ(walk(tree.get(), PreOrder), (Seen{"f@0", "bag@1", "b@2", "tagged@2", "a@3", "c@1"}));
    EXPECT_EQ(walk(tree.get(), PostOrder), (Seen{"b@2", "a@3", "tagged@2", "bag@1", "c@1", "f@0"}));
}

TEST(TreeWalkTest, AMillionDeepAndAMillionWide) {
    const std::size_t n = 1000000;
    for (VisitationOrderE order : {PreOrder, PostOrder}) {
        Tree deep = deepChain(n);
        std::size_t nodes = 0;
        std::size_t deepest = 0;
        for (TreeCursorC cursor(deep.get(), order); cursor.node() != nullptr; cursor.next()) {
            ++nodes;
            deepest = cursor.depth() > deepest ? cursor.depth() : deepest;
        }
        EXPECT_EQ(nodes, n + 1);
        EXPECT_EQ(deepest, n);
        EXPECT_EQ(narrow(TreeCursorC(deep.get(), order).node()->toString()), order == PreOrder ? "f" : "x");

        Tree wide = wideCall(n);
        nodes = 0;
        for (TreeCursorC cursor(wide.get(), order); cursor.node() != nullptr; cursor.next()) {
            nodes += cursor.depth();
        }
        EXPECT_EQ(nodes, n);  // every argument at depth 1
    }
}

// Walks only read the tree (the way back they write is the same for all), so
// threads may walk one tree at once: ThreadSanitizer checks it in the stress run.
TEST(TreeWalkTest, ThreadsMayWalkOneTreeAtOnce) {
    Tree tree = read(u"f(g(a,h(b,k(c))),m(d,n(e)),p)");
    const Seen expected = walk(tree.get(), PostOrder);
    std::vector<std::thread> threads;
    std::vector<int> right(4, 0);
    for (int t = 0; t < 4; ++t) {
        threads.emplace_back([&, t] {
            for (int i = 0; i < 2000; ++i) {
                right[t] += walk(tree.get(), t % 2 == 0 ? PostOrder : PreOrder).size() == expected.size() ? 1 : 0;
            }
        });
    }
    for (std::thread& thread : threads) {
        thread.join();
    }
    EXPECT_EQ(right, std::vector<int>(4, 2000));
}

}  // namespace
}  // namespace algebra_tests
