// SPDX-License-Identifier: MIT
// One tree that no thread changes, used by several threads at once: walks of
// every kind (cursors, ranges, traversal, walks of subtrees nested in walks
// of the whole), printing, copying, comparing, hashing, searching and
// substituting into new trees. Every answer must be the one a single thread
// gets; under ThreadSanitizer (the tsan preset) every access is checked too.
// The tree is deep, so that walks leave their way back up in many nodes.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cstddef>
#include <memory>
#include <string>
#include <vector>

#include "ThreadsFixture.h"

namespace threads_tests {
namespace {

constexpr int kDepth = 3000;

// plus(f(f(...f(x, 1)..., 2.5), times(2, y, sin(x))), g(alpha, -3)) with the
// f chain kDepth deep.
std::u16string sharedText() {
    std::u16string text = u"plus(";
    for (int i = 0; i < kDepth; ++i) {
        text += u"f(";
    }
    text += u"x";
    for (int i = 0; i < kDepth; ++i) {
        text += i % 2 == 0 ? u",1)" : u",2.5)";
    }
    return text + u",times(2,y,sin(x)),g(alpha,-3))";
}

class NodeCounterC : public NodeVisitorBC {
public:
    NodeCounterC() : NodeVisitorBC(PreOrder) {}
    bool visitCoreFunctionNode(CoreFunctionNodeC&, VisitationOrderE) override { return count(); }
    bool visitExtendedFunctionNode(ExtendedFunctionNodeC&, VisitationOrderE) override { return count(); }
    bool visitCoreSymbolNode(CoreSymbolNodeC&) override { return count(); }
    bool visitExtendedSymbolNode(ExtendedSymbolNodeC&) override { return count(); }
    bool visitFloatNode(FloatNodeC&) override { return count(); }
    bool visitIntegerNode(IntegerNodeC&) override { return count(); }

    std::size_t nodes = 0;

private:
    bool count() {
        ++nodes;
        return true;
    }
};

// Everything one thread finds in the tree, in one text.
std::u16string answersFor(AlgebraicExpressionC& shared, const NodeABC* replacement) {
    const NodeABC* tree = shared.getNode();
    std::size_t deepest = 0;
    for (TreeCursorC c(tree, PreOrder); c.node() != nullptr; c.next()) {
        deepest = std::max(deepest, c.depth());
    }
    std::size_t nodes = 0;
    for (const NodeABC* node : postOrder(tree)) {
        nodes += node != nullptr ? 1 : 0;
    }
    NodeCounterC counter;
    std::vector<std::u16string> names;
    SubstitutionC swap;
    swap.add(u"x", replacement);
    PointerTC<AlgebraicExpressionC> substituted = shared.substitute(swap);
    PointerTC<AlgebraicExpressionC> copy = shared.clone();
    const bool same = copy && copy->equals(shared) && copy->compare(shared) == 0 && copy->hash() == shared.hash();
    std::u16string found = shared.toPrefixString(0, qorv::math::Standard) + u" " + number(static_cast<long>(deepest)) +
                           u" " + number(static_cast<long>(nodes)) + u" " + number(static_cast<long>(hashTree(tree))) +
                           u" " + number(shared.traverse(counter) ? static_cast<long>(counter.nodes) : -1) + u" " +
                           (same ? u"copied" : u"copy differs") + u" " +
                           (substituted ? substituted->toPrefixString(0, qorv::math::Standard) : u"-");
    if (freeSymbols(tree, names)) {
        for (const std::u16string& name : names) {
            found += u" " + name;
        }
    }
    return found;
}

TEST(SharedTreeTest, ReadOnlyWorkOnOneTree) {
    session();
    PointerTC<AlgebraicExpressionC> shared = AlgebraicExpressionC::fromPrefixString(sharedText());
    PointerTC<AlgebraicExpressionC> replacement = AlgebraicExpressionC::fromPrefixString(u"h(y,4)");
    ASSERT_TRUE(shared && replacement);
    const std::u16string expected = answersFor(*shared, replacement->getNode());
    ASSERT_EQ(expected.substr(0, sharedText().size() + 6), sharedText() + u" 3001 ");  // x below plus and the chain
    std::atomic<int> wrong{0};
    runTogether(4, [&](int) {
        for (int i = 0; i < 4; ++i) {
            wrong += answersFor(*shared, replacement->getNode()) == expected ? 0 : 1;
        }
    });
    EXPECT_EQ(wrong.load(), 0);
}

// Each thread walks the whole tree and, at every hundredth level of the
// chain (a different set of levels on each thread), walks that subtree in
// the other order inside the outer walk.
TEST(SharedTreeTest, NestedWalksOnSeveralThreads) {
    session();
    PointerTC<AlgebraicExpressionC> shared = AlgebraicExpressionC::fromPrefixString(sharedText());
    ASSERT_TRUE(shared);
    const NodeABC* tree = shared->getNode();
    const std::size_t total = treeSize(tree);

    std::atomic<int> wrong{0};
    runTogether(4, [&](int t) {
        std::size_t outer = 0;
        for (TreeCursorC c(tree, t % 2 == 0 ? PreOrder : PostOrder); c.node() != nullptr; c.next()) {
            ++outer;
            const std::size_t level = c.depth();
            if (level % 100 != static_cast<std::size_t>(t) + 1) {
                continue;
            }
            std::size_t inner = 0;
            std::size_t deepest = 0;
            for (TreeCursorC d(c.node(), t % 2 == 0 ? PostOrder : PreOrder); d.node() != nullptr; d.next()) {
                ++inner;
                deepest = std::max(deepest, d.depth());
            }
            wrong += inner == treeSize(c.node()) && deepest == treeDepth(c.node()) - 1 ? 0 : 1;
            wrong += c.depth() == level ? 0 : 1;  // the outer walk goes on where it was
        }
        wrong += outer == total ? 0 : 1;
    });
    EXPECT_EQ(wrong.load(), 0);
}

}  // namespace
}  // namespace threads_tests
