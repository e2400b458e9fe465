// SPDX-License-Identifier: MIT
// Substitution of symbols by copies of another tree. That the copies share
// nothing with their sources shows when both are deleted (under the
// sanitizers); a million-deep substitution runs through the tool test.
#include <memory>

#include "SessionFixture.h"

namespace testing_doubles {
namespace {

class SubstTest : public SessionTest {
protected:
    // The text of a result, which it takes and deletes; "null" for null.
    static std::string text(NodeABC* result) {
        std::unique_ptr<NodeABC> owned(result);
        return owned ? narrow(print(result)) : "null";
    }
    // The text of `tree` with `name` (or, when `code` >= 0, that core code)
    // replaced by `replacement`.
    std::string substitute(const char16_t* tree, const char16_t* name, const char16_t* replacement, int code = -1) {
        PointerTC<AlgebraicExpressionC> source = read(tree);
        PointerTC<AlgebraicExpressionC> with = read(replacement);
        return text(code >= 0 ? visitor.subst(source->getNode(), code, with->getNode())
                              : visitor.subst(source->getNode(), name, with->getNode()));
    }

    SubstVisitorC visitor;
};

TEST_F(SubstTest, MatchingRules) {
    EXPECT_EQ(substitute(u"f(x,g(y,2))", u"x", u"h(1)"), "f(h(1),g(y,2))");
    EXPECT_EQ(substitute(u"x", u"x", u"h(1)"), "h(1)");
    EXPECT_EQ(substitute(u"x(x,X)", u"x", u"r"), "x(r,X)");           // function names never match
    EXPECT_EQ(substitute(u"plus(pi,x)", u"pi", u"3"), "plus(pi,x)");  // core symbols are not names
    EXPECT_EQ(substitute(u"plus(pi,x)", nullptr, u"3", 3), "plus(3,x)");
    EXPECT_EQ(substitute(u"f(x,x)", u"x", u"g(x)"), "f(g(x),g(x))");  // the replacement is not searched
    EXPECT_EQ(substitute(u"f(1,2.5)", u"x", u"y"), "f(1,2.5)");
}

// The empty name matches extended symbols with the empty name (a symbol node
// without a symbol among them) and the core symbols of the latest code.
TEST_F(SubstTest, TheEmptyName) {
    std::unique_ptr<NodeABC> tree(build.fn(
        u"f", {build.sym(u""), new ExtendedSymbolNodeC(nullptr), new CoreSymbolNodeC(0), new CoreSymbolNodeC(3)}));
    std::unique_ptr<NodeABC> r(build.sym(u"R"));
    // No substitution by code yet: the empty name matches no core symbol.
    EXPECT_EQ(text(visitor.subst(tree.get(), u"", r.get())), "f(R,R,sin,pi)");
    EXPECT_EQ(text(visitor.subst(tree.get(), 3, r.get())), "f(R,R,sin,R)");
    EXPECT_EQ(text(visitor.subst(tree.get(), 0, r.get())), "f(R,R,R,pi)");
    EXPECT_EQ(text(visitor.subst(tree.get(), u"", r.get())), "f(R,R,R,pi)");  // code 0 now
    EXPECT_EQ(text(visitor.subst(tree.get(), 3, r.get())), "f(R,R,sin,R)");
    EXPECT_EQ(text(visitor.subst(tree.get(), u"", r.get())), "f(R,R,sin,R)");
}

// A null tree, or a null replacement where a leaf matches, gives null and
// leaves nothing behind; null children count as absent.
TEST_F(SubstTest, NullsAndReuse) {
    PointerTC<AlgebraicExpressionC> source = read(u"f(1,g(2,x),3)");
    EXPECT_EQ(visitor.subst(nullptr, u"x", source->getNode()), nullptr);
    EXPECT_EQ(visitor.subst(source->getNode(), u"x", nullptr), nullptr);
    EXPECT_EQ(TestInteger::live, 3);  // the partial copy is gone
    EXPECT_EQ(text(visitor.subst(source->getNode(), u"nowhere", nullptr)), "f(1,g(2,x),3)");
    static_cast<ParentNodeABC*>(source->getNode())->replaceChild(0, nullptr);
    EXPECT_EQ(text(visitor.subst(source->getNode(), u"x", read(u"0")->getNode())), "f(g(2,0),3)");
    // The visitor is reusable: its stack is empty after every call, even
    // after a traversal made outside subst left entries on it.
    read(u"g(1,2)")->traverse(visitor);
    EXPECT_EQ(substitute(u"f(x)", u"x", u"1"), "f(1)");
}

// A subclass whose visit leaves a node out of the copy (it does not call the
// base) gets null, not a copy with a node missing, even when it lets the
// walk go on after a refusal.
TEST_F(SubstTest, AVisitThatLeavesANodeOutGivesNull) {
    struct LeavingOutX : SubstVisitorC {
        bool visitExtendedSymbolNode(ExtendedSymbolNodeC& node) override {
            return node.toString() == u"x" || SubstVisitorC::visitExtendedSymbolNode(node);
        }
        bool visitExtendedFunctionNode(ExtendedFunctionNodeC& node, VisitationOrderE order) override {
            return SubstVisitorC::visitExtendedFunctionNode(node, order) || true;
        }
    } leaving;
    for (const char16_t* tree : {u"f(x,y)", u"f(x)", u"g(f(x,y),z)", u"x"}) {
        PointerTC<AlgebraicExpressionC> source = read(tree);
        EXPECT_EQ(text(leaving.subst(source->getNode(), u"q", source->getNode())), "null") << narrow(tree);
    }
    PointerTC<AlgebraicExpressionC> kept = read(u"f(y,z)");
    EXPECT_EQ(text(leaving.subst(kept->getNode(), u"q", kept->getNode())), "f(y,z)");
}

}  // namespace
}  // namespace testing_doubles
