// Substitution of symbols by copies of another tree.
#include <memory>

#include "SessionFixture.h"

namespace testing_doubles {
namespace {

class SubstTest : public SessionTest {
protected:
    // The text of `tree` with `name` (or, when `code` >= 0, that core code)
    // replaced by `replacement`; "null" for a null result.
    std::string substitute(const char16_t* tree, const char16_t* name, const char16_t* replacement, int code = -1) {
        PointerTC<AlgebraicExpressionC> source = read(tree);
        PointerTC<AlgebraicExpressionC> with = read(replacement);
        std::unique_ptr<NodeABC> result(code >= 0 ? visitor.subst(source->getNode(), code, with->getNode())
                                                  : visitor.subst(source->getNode(), name, with->getNode()));
        PrefixPrintVisitorC printer;
        return result ? narrow(printer.getExpressionString(result.get(), 0, qorv::math::Standard)) : "null";
    }

    SubstVisitorC visitor;
};

TEST_F(SubstTest, MatchingRules) {
    EXPECT_EQ(substitute(u"f(x,g(y,2))", u"x", u"h(1)"), "f(h(1),g(y,2))");
    EXPECT_EQ(substitute(u"x", u"x", u"h(1)"), "h(1)");
    EXPECT_EQ(substitute(u"x(x,X)", u"x", u"r"), "x(r,X)");      // function names never match
    EXPECT_EQ(substitute(u"plus(pi,x)", u"pi", u"3"), "plus(pi,x)");  // core symbols are not names
    EXPECT_EQ(substitute(u"plus(pi,x)", nullptr, u"3", 3), "plus(3,x)");
    EXPECT_EQ(substitute(u"f(x,x)", u"x", u"g(x)"), "f(g(x),g(x))");  // the replacement is not searched
    EXPECT_EQ(substitute(u"f(1,2.5)", u"x", u"y"), "f(1,2.5)");
}

TEST_F(SubstTest, TheEmptyName) {
    auto tree = std::unique_ptr<NodeABC>(build.fn(u"f", {build.sym(u""), new CoreSymbolNodeC(3), build.sym(u"x")}));
    std::unique_ptr<NodeABC> r(build.sym(u"R"));
    PrefixPrintVisitorC printer;
    auto text = [&](NodeABC* result) {
        std::unique_ptr<NodeABC> owned(result);
        return narrow(printer.getExpressionString(owned.get(), 0, qorv::math::Standard));
    };
    // No substitution by code yet: the empty name matches no core symbol.
    EXPECT_EQ(text(visitor.subst(tree.get(), u"", r.get())), "f(R,pi,x)");
    // By code: core symbols of the code and extended symbols with the empty name.
    EXPECT_EQ(text(visitor.subst(tree.get(), 3, r.get())), "f(R,R,x)");
    EXPECT_EQ(text(visitor.subst(tree.get(), 0, r.get())), "f(R,pi,x)");
    EXPECT_EQ(text(visitor.subst(tree.get(), u"", r.get())), "f(R,pi,x)");  // code 0 now
    EXPECT_EQ(text(visitor.subst(tree.get(), 3, r.get())), "f(R,R,x)");
    EXPECT_EQ(text(visitor.subst(tree.get(), u"", r.get())), "f(R,R,x)");
}

// A symbol node without a symbol prints as the empty name and is matched as one.
TEST_F(SubstTest, ASymbolNodeWithoutSymbolHasTheEmptyName) {
    std::unique_ptr<NodeABC> tree(build.fn(u"f", {new ExtendedSymbolNodeC(nullptr), build.sym(u"x")}));
    std::unique_ptr<NodeABC> r(build.sym(u"R"));
    std::unique_ptr<NodeABC> result(visitor.subst(tree.get(), 7, r.get()));
    PrefixPrintVisitorC printer;
    EXPECT_EQ(printer.getExpressionString(result.get(), 0, qorv::math::Standard), u"f(R,x)");
}

TEST_F(SubstTest, TheResultIsNewThroughout) {
    PointerTC<AlgebraicExpressionC> source = read(u"f(x,g(x,2))");
    PointerTC<AlgebraicExpressionC> replacement = read(u"h(1.5)");
    auto* result = static_cast<ParentNodeABC*>(visitor.subst(source->getNode(), u"x", replacement->getNode()));
    ASSERT_NE(result, nullptr);
    auto* source_root = static_cast<ParentNodeABC*>(source->getNode());
    EXPECT_NE(result->child(1), source_root->child(1));
    EXPECT_NE(result->child(0), replacement->getNode());
    EXPECT_NE(result->child(0), static_cast<ParentNodeABC*>(result->child(1))->child(0));
    static_cast<FloatNodeC*>(static_cast<ParentNodeABC*>(result->child(0))->child(0))->setValue(9.0);
    delete result;
    EXPECT_EQ(source->toPrefixString(0, qorv::math::Standard), u"f(x,g(x,2))");
    EXPECT_EQ(replacement->toPrefixString(0, qorv::math::Standard), u"h(1.5)");
}

TEST_F(SubstTest, FailuresGiveNullAndLeaveNothing) {
    PointerTC<AlgebraicExpressionC> source = read(u"f(1,g(2,x),3)");
    EXPECT_EQ(visitor.subst(nullptr, u"x", source->getNode()), nullptr);
    EXPECT_EQ(visitor.subst(source->getNode(), u"x", nullptr), nullptr);
    EXPECT_EQ(TestInteger::live, 3);  // the partial copy is gone
    std::unique_ptr<NodeABC> copy(visitor.subst(source->getNode(), u"nowhere", nullptr));
    ASSERT_NE(copy, nullptr);
    EXPECT_EQ(TestInteger::live, 6);
    // The visitor is reusable: its stack is empty after every call, even
    // after a traversal made outside subst left entries on it.
    EXPECT_EQ(substitute(u"f(x)", u"x", u"1"), "f(1)");
    read(u"g(1,2)")->traverse(visitor);
    EXPECT_EQ(substitute(u"f(x)", u"x", u"1"), "f(1)");
}

TEST_F(SubstTest, NullChildrenCountAsAbsent) {
    std::unique_ptr<ExtendedFunctionNodeC> tree(build.fn(u"f", {build.sym(u"a"), build.sym(u"b"), build.sym(u"x")}));
    tree->replaceChild(1, nullptr);
    std::unique_ptr<NodeABC> r(build.integer(0));
    std::unique_ptr<NodeABC> result(visitor.subst(tree.get(), u"x", r.get()));
    PrefixPrintVisitorC printer;
    EXPECT_EQ(printer.getExpressionString(result.get(), 0, qorv::math::Standard), u"f(a,0)");
}

TEST_F(SubstTest, MillionDeepTree) {
    const std::size_t depth = 1000000;
    std::u16string text;
    for (std::size_t i = 0; i < depth; ++i) {
        text += u"f(x,";
    }
    text += u"x" + std::u16string(depth, u')');
    PointerTC<AlgebraicExpressionC> source = read(text);
    PointerTC<AlgebraicExpressionC> one = read(u"1");
    std::unique_ptr<NodeABC> result(visitor.subst(source->getNode(), u"x", one->getNode()));
    ASSERT_NE(result, nullptr);
    EXPECT_EQ(TestInteger::live, static_cast<int>(depth) + 2);
}

}  // namespace
}  // namespace testing_doubles
