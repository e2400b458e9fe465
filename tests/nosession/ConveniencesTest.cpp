// SPDX-License-Identifier: MIT
// The conveniences over the node classes: typed downcasts, range-for over a
// function's children, and the visitor base whose visits answer true.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <type_traits>

#include "support/Doubles.h"

namespace {

using namespace testing_doubles;

const char16_t* const kNames[] = {u"plus", u""};

class ConveniencesTest : public ::testing::Test {
protected:
    PointerTC<TestSession> session = makeSession(kNames);
    TreeBuilder build{session};
};

// A client's node class with an id of its own, laid out behind other data so
// that its node part does not start at its own address; it counts the
// questions lookUpBase is asked.
struct Mixin {
    virtual ~Mixin() = default;
    long payload = 7;
};
struct MarkedFunctionC : Mixin, ExtendedFunctionNodeC {
    MarkedFunctionC() : ExtendedFunctionNodeC(nullptr) {}
    static const char16_t* getCastableId() { return u"MarkedFunctionC"; }
    const char16_t* qCastableId() const override { return getCastableId(); }
    void* lookUpBase(const char16_t* id) const override {
        ++questions;
        return sameCastableId(id, getCastableId()) ? const_cast<MarkedFunctionC*>(this)
                                                   : ExtendedFunctionNodeC::lookUpBase(id);
    }
    mutable int questions = 0;
};

template <class To>
void expectCast(NodeABC* node, bool is_one) {
    SCOPED_TRACE(narrow(To::getCastableId()));
    const NodeABC* constant = node;
    EXPECT_EQ(isA<To>(node), is_one);
    EXPECT_EQ(isA<To>(constant), is_one);
    To* cast = dynCast<To>(node);
    const To* const_cast_result = dynCast<To>(constant);
    EXPECT_EQ(cast, is_one ? node->lookUpBase(To::getCastableId()) : nullptr);
    EXPECT_EQ(const_cast_result, cast);
}

TEST_F(ConveniencesTest, DowncastsFollowTheCastableIds) {
    const std::pair<NodeABC*, int> nodes[] = {
        // Which of LeafNodeABC, ParentNodeABC and the six concrete classes each is (bits 0 to 7).
        {new CoreSymbolNodeC(0), 1 | 4},         {build.sym(u"y"), 1 | 8},
        {build.integer(1), 1 | 16},              {build.real(2.5), 1 | 32},
        {new CoreFunctionNodeC(0), 2 | 64},      {build.fn(u"g", {}), 2 | 128},
        {new MarkedFunctionC, 2 | 128 | 256},
    };
    for (const auto& [made, kinds] : nodes) {
        std::unique_ptr<NodeABC> node(made);
        SCOPED_TRACE(narrow(node->qCastableId()));
        expectCast<LeafNodeABC>(node.get(), kinds & 1);
        expectCast<ParentNodeABC>(node.get(), kinds & 2);
        expectCast<CoreSymbolNodeC>(node.get(), kinds & 4);
        expectCast<ExtendedSymbolNodeC>(node.get(), kinds & 8);
        expectCast<IntegerNodeC>(node.get(), kinds & 16);
        expectCast<FloatNodeC>(node.get(), kinds & 32);
        expectCast<CoreFunctionNodeC>(node.get(), kinds & 64);
        expectCast<ExtendedFunctionNodeC>(node.get(), kinds & 128);
        expectCast<MarkedFunctionC>(node.get(), kinds & 256);
        EXPECT_TRUE(isA<NodeABC>(node.get()));
    }

    // The const-ness of the argument carries over to the result.
    NodeABC* none = nullptr;
    static_assert(std::is_same_v<decltype(dynCast<FloatNodeC>(none)), FloatNodeC*>);
    static_assert(std::is_same_v<decltype(dynCast<FloatNodeC>(static_cast<const NodeABC*>(none))), const FloatNodeC*>);
    static_assert(std::is_same_v<decltype(dynCast<const FloatNodeC>(none)), const FloatNodeC*>);
    EXPECT_FALSE(isA<NodeABC>(none));
    EXPECT_EQ(dynCast<ParentNodeABC>(none), nullptr);

    // The client's class is found at its own address; a cast to a base of
    // the argument's class asks nothing.
    MarkedFunctionC marked;
    NodeABC* as_node = &marked;
    ASSERT_NE(static_cast<void*>(as_node), static_cast<void*>(&marked));
    EXPECT_EQ(dynCast<MarkedFunctionC>(as_node), &marked);
    EXPECT_EQ(dynCast<MarkedFunctionC>(as_node)->payload, 7);
    marked.questions = 0;
    EXPECT_EQ(dynCast<ParentNodeABC>(&marked), &marked);
    EXPECT_TRUE(isA<NodeABC>(&marked));
    EXPECT_EQ(marked.questions, 0);
}

TEST_F(ConveniencesTest, RangeForOverChildren) {
    std::unique_ptr<ExtendedFunctionNodeC> f(
        build.fn(u"f", {build.sym(u"a"), build.integer(1), build.sym(u"b"), build.real(2.0)}));
    f->replaceChild(1, nullptr);
    std::vector<NodeABC*> seen;
    for (NodeABC* child : f->children()) {
        seen.push_back(child);
    }
    EXPECT_EQ(seen, (std::vector<NodeABC*>{f->child(0), nullptr, f->child(2), f->child(3)}));

    const ParentNodeABC& constant = *f;
    static_assert(std::is_same_v<decltype(*constant.children().begin()), const NodeABC*>);
    static_assert(std::is_same_v<decltype(*f->children().begin()), NodeABC*>);
    EXPECT_EQ(constant.children().size(), 4u);
    EXPECT_EQ(std::count_if(constant.children().begin(), constant.children().end(),
                            [](const NodeABC* child) { return isA<LeafNodeABC>(child); }),
              3);
    EXPECT_TRUE(ExtendedFunctionNodeC(nullptr).children().empty());
    EXPECT_EQ(ExtendedFunctionNodeC(nullptr).children().begin(), ExtendedFunctionNodeC(nullptr).children().end());

    // A child replaced ahead of the loop is seen as it is then; children
    // appended during the loop are not reached (nor is a stale end read).
    seen.clear();
    for (NodeABC* child : f->children()) {
        seen.push_back(child);
        if (seen.size() == 1) {
            f->replaceChild(2, build.sym(u"c"));
            for (int i = 0; i < 40; ++i) {  // the buffer moves
                f->addChild(build.integer(i));
            }
        }
    }
    ASSERT_EQ(seen.size(), 4u);
    EXPECT_EQ(seen[2]->toString(), u"c");
    EXPECT_EQ(f->numChildren(), 44u);
}

// A visitor that overrides one visit walks a tree of every kind to its end,
// with every order asked for.
TEST_F(ConveniencesTest, VisitorBaseAnswersTrueEverywhere) {
    struct IntegerCounter : NodeVisitorBC {
        IntegerCounter() : NodeVisitorBC(PreOrder | InOrder | PostOrder) {}
        bool visitIntegerNode(IntegerNodeC&) override { return ++count, true; }
        int count = 0;
    } counter;
    std::unique_ptr<NodeABC> tree(build.core(
        0, {build.integer(1), build.fn(u"g", {new CoreSymbolNodeC(0), build.sym(u"x"), build.real(1.5)}),
            build.integer(2), build.core(0, {build.fn(u"h", {build.integer(3)})})}));
    EXPECT_TRUE(tree->traverse(counter));
    EXPECT_EQ(counter.count, 3);

    struct Nothing : NodeVisitorBC {
        Nothing() : NodeVisitorBC(PreOrder | InOrder | PostOrder) {}
    } nothing;
    EXPECT_TRUE(tree->traverse(nothing));
}

// Building needs the current session for its names and numbers; without one
// every value fails with the reason, and values made by hand still work.
TEST_F(ConveniencesTest, BuildingWithoutASession) {
    for (const ExprC& failed : {sym(u"x"), num(u"1"), ExprC(2), ExprC(0.5), ExprC(1.0 / 0.0), call(u"f"),
                                ExprC::apply(u"plus", false, nullptr, 0)}) {
        EXPECT_FALSE(failed);
        EXPECT_EQ(failed.error(), u"no session is current");
    }
    ExprC made = ExprC::adopt(build.fn(u"f", {build.sym(u"x")}));
    EXPECT_EQ(made.toPrefixString(), u"f(x)");
    EXPECT_EQ((made + made).error(), u"no session is current");
    ExprC same = made.subs({{ExprC::adopt(build.sym(u"x")), ExprC::adopt(build.integer(3))}});
    EXPECT_EQ(same.toPrefixString(), u"f(3)");
}

// Reading with reasons: no session is a reason without a place, in either
// notation; a text that breaks the strict form is named first.
TEST_F(ConveniencesTest, ReadingWithoutASession) {
    for (const ReadResultC& read : {AlgebraicExpressionC::readPrefix(u"f(x)"),
                                    AlgebraicExpressionC::readPrefix(u"f(x", AlgebraicExpressionC::ReadingE::Lax),
                                    InfixReaderC().readResult(u"x+1"), ReadResultC()}) {
        EXPECT_FALSE(read.ok());
        EXPECT_FALSE(read.tree());
        EXPECT_EQ(read.reason(), ReadResultC::ReasonE::NoSession);
        EXPECT_EQ(read.position(), ReadResultC::kNoPosition);
        EXPECT_EQ(read.message(), "no session is current");
    }
    EXPECT_EQ(AlgebraicExpressionC::readPrefix(u"f(x").reason(), ReadResultC::ReasonE::Syntax);
}

}  // namespace
