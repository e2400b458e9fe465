// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <new>
#include <string>
#include <tuple>
#include <vector>

#include "algexpr/TreeOrder.h"
#include "patterns/PatternFixture.h"

namespace pattern_tests {
namespace {

struct CaseS {
    const char* pattern;
    const char* tree;
    MatchResultE result;
    const char* bindings;  // after Matched
};

void check(const std::vector<CaseS>& cases, const PatternC::SettingsS& settings = PatternC::SettingsS()) {
    for (const CaseS& c : cases) {
        const PatternC pattern = compiled(c.pattern, settings);
        Tree tree = read(widen(c.tree));
        MatcherC matcher;
        EXPECT_EQ(matcher.match(pattern, tree.get()), c.result) << c.pattern << " ~ " << c.tree;
        if (c.result == MatchResultE::Matched) {
            EXPECT_EQ(bindings(matcher, pattern), c.bindings) << c.pattern << " ~ " << c.tree;
        }
    }
}

// The last function node of a chain f(f(...f(x)...)).
const NodeABC* deepest(const NodeABC* tree) {
    const auto* node = static_cast<const ParentNodeABC*>(tree);
    while (node->child(0)->qCastableId() == tree->qCastableId()) {
        node = static_cast<const ParentNodeABC*>(node->child(0));
    }
    return node;
}

constexpr MatchResultE kYes = MatchResultE::Matched;
constexpr MatchResultE kNo = MatchResultE::NoMatch;

TEST(Matcher, WildcardsAndLiterals) {
    check({{"wild(a)", "f(x,2)", kYes, "a=f(x,2)"},
           {"f(wild(a),2)", "f(x,2)", kYes, "a=x"},
           {"f(wild(a),2)", "f(x,3)", kNo, ""},
           {"f(wild(a),2)", "g(x,2)", kNo, ""},
           {"f(wild(a))", "f(x,2)", kNo, ""},
           {"f(x,2)", "f(x,2)", kYes, ""},
           {"f(x,2)", "f(x,2.0)", kNo, ""},
           {"sin(wild(a))", "sin(f(g(x)))", kYes, "a=f(g(x))"},
           {"f(wild(a))", "x", kNo, ""},
           {"wild(wild)", "pi", kYes, "wild=pi"}});
}

TEST(Matcher, RepeatedWildcardsMatchEqualSubtrees) {
    check({{"f(wild(a),wild(a))", "f(g(x,1),g(x,1))", kYes, "a=g(x,1)"},
           {"f(wild(a),wild(a))", "f(g(x,1),g(x,2))", kNo, ""},
           {"f(wild(a),g(wild(b),wild(a)))", "f(1,g(2,1))", kYes, "a=1; b=2"},
           {"f(wild(a),g(wild(b),wild(a)))", "f(1,g(2,2))", kNo, ""},
           {"f(wild(a),wild(a))", "f(1,1.0)", kNo, ""},
           {"f(wilds(r),wilds(r))", "f(1,2,1,2)", kYes, "r=(1,2)"},
           {"f(wilds(r),wilds(r))", "f(1,2,1)", kNo, ""}});
}

TEST(Matcher, Conditions) {
    check({{"wild(n,integer)", "3", kYes, "n=3"},
           {"wild(n,integer)", "3.5", kNo, ""},
           {"wild(n,number)", "3.5", kYes, "n=3.5"},
           {"wild(n,number)", "x", kNo, ""},
           {"wild(n,positive)", "-2", kNo, ""},
           {"wild(n,positive)", "0", kNo, ""},
           {"wild(n,positive)", "0.5", kYes, "n=0.5"},
           {"wild(n,integer,positive)", "0.5", kNo, ""},
           {"wild(s,symbol)", "x", kYes, "s=x"},
           {"wild(s,symbol)", "pi", kNo, ""},
           {"wild(s,symbol)", "_", kNo, ""},
           {"wild(s,symbol)", "f(x)", kNo, ""},
           {"wild(e,free(x))", "f(y,g(z))", kYes, "e=f(y,g(z))"},
           {"wild(e,free(x))", "f(y,g(x))", kNo, ""},
           {"wild(e,free(g(x)))", "f(x,g(y))", kYes, "e=f(x,g(y))"},
           {"f(wilds(r,integer))", "f(1,2,3)", kYes, "r=(1,2,3)"},
           {"f(wilds(r,integer))", "f(1,x,3)", kNo, ""}});
}

TEST(Matcher, ClientConditionsAndConstraints) {
    PatternC::SettingsS settings;
    settings.conditions[u"even"] = [](const std::vector<const NodeABC*>& arguments) {
        const auto* integer = dynamic_cast<const IntegerNodeC*>(arguments.at(0));
        return integer != nullptr && integer->getValue()->getValue() % 2 == 0;
    };
    struct NoFloats : ConstraintsBC {
        bool isAcceptable(AlgebraicExpressionC& e) override { return !isFloat(e.getNode()); }
    };
    settings.conditions[u"exact"] = PatternC::fromConstraints(PointerTC<ConstraintsBC>(new NoFloats));
    check({{"f(wild(n,even))", "f(4)", kYes, "n=4"},
           {"f(wild(n,even))", "f(3)", kNo, ""},
           {"f(wild(n,exact))", "f(3)", kYes, "n=3"},
           {"f(wild(n,exact))", "f(3.0)", kNo, ""}},
          settings);
}

TEST(Matcher, CommutativeFunctionsMatchInAnyOrder) {
    check({{"times(wild(a,number),x)", "times(x,3)", kYes, "a=3"},
           {"times(wild(a,number),x)", "times(3,x)", kYes, "a=3"},
           {"times(wild(a,number),x)", "times(y,3)", kNo, ""},
           {"times(wild(a,number),x)", "times(3,x,y)", kNo, ""},
           {"plus(wild(a),sin(wild(a)))", "plus(sin(y),y)", kYes, "a=y"},
           {"plus(wild(a),sin(wild(a)))", "plus(sin(y),z)", kNo, ""},
           {"plus(wild(a),wild(b))", "plus(1,2)", kYes, "a=1; b=2"},
           // ordinary functions keep their order
           {"f(wild(a,number),x)", "f(x,3)", kNo, ""},
           {"minus(wild(a),x)", "minus(x,3)", kNo, ""}});
    PatternC::SettingsS settings;
    settings.commutative = {u"minus"};
    check({{"minus(wild(a),x)", "minus(x,3)", kYes, "a=3"}, {"times(wild(a,number),x)", "times(x,3)", kNo, ""}},
          settings);
}

TEST(Matcher, MatchingIsStructural) {
    check({{"plus(wild(a),neg(wild(b)))", "minus(x,y)", kNo, ""},
           {"plus(x,y,z)", "plus(x,plus(y,z))", kNo, ""},
           {"plus(x,wild(r))", "plus(x,plus(y,z))", kYes, "r=plus(y,z)"}});
}

TEST(Matcher, Sequences) {
    check({{"plus(x,wilds(r))", "plus(1,x,y)", kYes, "r=(1,y)"},
           {"plus(x,wilds(r))", "plus(x)", kYes, "r=()"},
           {"plus(x,wilds(r))", "plus(1,y)", kNo, ""},
           {"f(wilds(a),x,wilds(b))", "f(1,2,x,3)", kYes, "a=(1,2); b=(3)"},
           {"f(wilds(a),wilds(b))", "f(1,2)", kYes, "a=(); b=(1,2)"},
           {"f(wilds(a),wild(c,integer),wilds(b))", "f(x,y,3,z)", kYes, "a=(x,y); c=3; b=(z)"},
           {"f(wild(a),wilds(b),wild(c))", "f(1)", kNo, ""},
           {"times(wild(a,integer),wilds(r))", "times(x,y,5)", kYes, "a=5; r=(x,y)"},
           // a sequence bound before is compared with what is left over, in order
           {"f(g(wilds(r)),plus(x,wilds(r)))", "f(g(1,2),plus(1,x,2))", kYes, "r=(1,2)"},
           {"f(g(wilds(r)),plus(x,wilds(r)))", "f(g(1,2),plus(2,x,1))", kNo, ""},
           {"f(g(wilds(r)),plus(x,wilds(r)))", "f(g(1),plus(1,x,2))", kNo, ""},
           {"f(g(wilds(r)),plus(x,wilds(r)))", "f(g(1,2,3),plus(1,x,2))", kNo, ""},
           {"f(g(wilds(r)),h(wilds(r),x))", "f(g(1,2),h(1,x))", kNo, ""},
           {"plus(wilds(r,symbol),wild(n,number))", "plus(x,2,y)", kYes, "r=(x,y); n=2"},
           {"plus(wilds(r,symbol),wild(n,number))", "plus(x,2,3)", kNo, ""},
           {"wilds(r)", "f(x)", kYes, "r=(f(x))"}});
}

TEST(Matcher, MalformedPatternsDoNotCompile) {
    const char* const bad[] = {"wild(f(x))", "wild(2)", "wild(a,colour)", "wild(a,free(x,y))", "wild(a,f(x))",
                               "f(wild(a),wilds(a))", "plus(wilds(a),wilds(b))"};
    for (const char* text : bad) {
        PatternC pattern;
        std::u16string problem;
        Tree tree = read(widen(text));
        EXPECT_FALSE(pattern.compile(tree.get(), PatternC::SettingsS(), &problem)) << text;
        EXPECT_FALSE(problem.empty()) << text;
        EXPECT_FALSE(pattern.isCompiled());
        EXPECT_EQ(MatcherC().match(pattern, tree.get()), MatchResultE::NoMatch);
    }
    PatternC none;
    EXPECT_FALSE(none.compile(nullptr, PatternC::SettingsS()));
}

TEST(Matcher, WildcardNamesAreASetting) {
    PatternC::SettingsS settings;
    settings.wildcard = u"any";
    settings.sequence = u"many";
    check({{"f(any(a),many(r))", "f(1,2,3)", kYes, "a=1; r=(2,3)"}, {"f(wild(a))", "f(wild(a))", kYes, ""},
           {"f(wild(a))", "f(1)", kNo, ""}},
          settings);
}

// f(plus(w1..w9), g(w1)) against f(plus(x1..x9), g(x9)): w1 takes x9 only after
// every order of the others has been tried.
TEST(Matcher, ManyOrdersGiveUpAtTheLimitNotNo) {
    std::string pattern = "f(plus(", tree = "f(plus(";
    for (int i = 1; i <= 9; ++i) {
        pattern += (i > 1 ? "," : "") + std::string("wild(w") + std::to_string(i) + ")";
        tree += (i > 1 ? ",x" : "x") + std::to_string(i);
    }
    pattern += "),g(wild(w1)))";
    tree += "),g(x9))";
    const PatternC compiled_pattern = compiled(pattern);
    Tree subject = read(widen(tree));
    MatcherC matcher;
    EXPECT_EQ(matcher.getAttemptLimit(), MatcherC::kDefaultAttempts);
    matcher.setAttemptLimit(1000);
    EXPECT_EQ(matcher.match(compiled_pattern, subject.get()), MatchResultE::GaveUp);
    EXPECT_TRUE(matcher.binding(0).empty());
    matcher.setAttemptLimit(10000000);
    ASSERT_EQ(matcher.match(compiled_pattern, subject.get()), MatchResultE::Matched);
    EXPECT_EQ(text(matcher.binding(0).at(0)), "x9");
}

// The limit counts choices taken again: a match that needs n of them passes
// with a limit of n; one that needs none (a sequence at the end takes the
// rest at once) passes with a limit of 0.
TEST(Matcher, TheLimitIsExact) {
    const PatternC one_retry = compiled("times(x,wild(a,integer))");
    const PatternC rest = compiled("f(x,wilds(r))");
    Tree product = read(u"times(3,x)");
    Tree call = read(u"f(x,1,2,3)");
    MatcherC matcher;
    matcher.setAttemptLimit(1);
    EXPECT_EQ(matcher.match(one_retry, product.get()), MatchResultE::Matched);
    matcher.setAttemptLimit(0);
    EXPECT_EQ(matcher.match(one_retry, product.get()), MatchResultE::GaveUp);
    ASSERT_EQ(matcher.match(rest, call.get()), MatchResultE::Matched);
    EXPECT_EQ(bindings(matcher, rest), "r=(1,2,3)");
}

// A test of the whole match sends the search on into the next order; it
// reads the bindings as they are, and each refusal spends an attempt.
TEST(Matcher, AcceptedMatchesOnly) {
    const PatternC pattern = compiled("times(wild(a),wild(b))");
    Tree product = read(u"times(x,2,y)");
    Tree pair = read(u"times(x,2)");
    MatcherC matcher;
    std::vector<std::string> seen;
    auto secondIsNumber = [&](const MatcherC& found) {
        seen.push_back(bindings(found, pattern));
        return dynamic_cast<const IntegerNodeC*>(found.bindingAt(1, 0)) != nullptr;
    };
    ASSERT_EQ(matcher.match(pattern, pair.get(), secondIsNumber), MatchResultE::Matched);
    EXPECT_EQ(seen, (std::vector<std::string>{"a=x; b=2"}));
    seen.clear();
    Tree swapped = read(u"times(2,x)");
    ASSERT_EQ(matcher.match(pattern, swapped.get(), secondIsNumber), MatchResultE::Matched);
    EXPECT_EQ(seen, (std::vector<std::string>{"a=2; b=x", "a=x; b=2"}));
    EXPECT_EQ(bindings(matcher, pattern), "a=x; b=2");
    EXPECT_EQ(matcher.match(pattern, product.get(), secondIsNumber), MatchResultE::NoMatch);
    auto never = [](const MatcherC&) { return false; };
    EXPECT_EQ(matcher.match(pattern, pair.get(), never), MatchResultE::NoMatch);
    EXPECT_EQ(matcher.bindingCount(0), 0u);
    matcher.setAttemptLimit(1);  // two choices to take again
    EXPECT_EQ(matcher.match(pattern, pair.get(), never), MatchResultE::GaveUp);
    matcher.setAttemptLimit(2);
    EXPECT_EQ(matcher.match(pattern, pair.get(), never), MatchResultE::NoMatch);
    auto noMemory = [](const MatcherC&) -> bool { throw std::bad_alloc(); };
    EXPECT_EQ(matcher.match(pattern, pair.get(), noMemory), MatchResultE::OutOfMemory);
    EXPECT_EQ(matcher.bindingCount(0), 0u);
}

// Optional wildcards: a*x^n matches x^2 (a = 1), 3*x (n = 1), -x^2 (a =
// -1) and x; without defaults, only the written form.
TEST(Matcher, DefaultsStandForMissingArguments) {
    const PatternC pattern = compiled("times(wild(a,default(1)),power(x,wild(n,default(1))))");
    MatcherC matcher;
    const std::pair<const char16_t*, const char*> cases[] = {
        {u"times(3,power(x,2))", "a=3; n=2"}, {u"power(x,2)", "a=1; n=2"}, {u"times(3,x)", "a=3; n=1"},
        {u"x", "a=1; n=1"},                   {u"neg(power(x,2))", "a=-1; n=2"}, {u"neg(x)", "a=-1; n=1"},
        {u"times(power(x,y),z)", "a=z; n=y"},
    };
    for (const auto& [input, bound] : cases) {
        Tree tree = read(input);
        ASSERT_EQ(matcher.match(pattern, tree.get()), MatchResultE::Matched) << narrow(input);
        EXPECT_EQ(bindings(matcher, pattern), bound) << narrow(input);
    }
    for (const char16_t* input : {u"y", u"power(y,2)", u"neg(y)", u"neg(neg(x))", u"plus(3,x)"}) {
        Tree tree = read(input);
        EXPECT_EQ(matcher.match(pattern, tree.get()), MatchResultE::NoMatch) << narrow(input);
    }
    // a repeated wildcard's default must agree with its other binding
    const PatternC twice = compiled("f(wild(n),power(x,wild(n,default(1))))");
    Tree one = read(u"f(1,x)");
    Tree two = read(u"f(2,x)");
    EXPECT_EQ(matcher.match(twice, one.get()), MatchResultE::Matched);
    EXPECT_EQ(matcher.match(twice, two.get()), MatchResultE::NoMatch);
    // two defaults: no neg form (which would take -1?); a sequence, a
    // function of defaults alone or two other arguments: only as written
    const std::tuple<const char*, const char16_t*, bool> shapes[] = {
        {"times(wild(a,default(1)),wild(b,default(2)),x)", u"x", true},
        {"times(wild(a,default(1)),wild(b,default(2)),x)", u"neg(x)", false},
        {"times(wild(a,default(1)),x)", u"neg(x,y)", false},
        {"g(wild(a,default(1)),x)", u"neg(x)", false},
        {"f(wild(a,default(1)),wilds(r))", u"x", false},
        {"f(wild(a,default(1)),wilds(r))", u"f(x)", true},
        {"f(wild(a,default(1)))", u"x", false},
        {"f(wild(a,default(1)),x,y)", u"x", false},
    };
    for (const auto& [written, input, matches] : shapes) {
        const PatternC shape = compiled(written);
        Tree tree = read(input);
        EXPECT_EQ(matcher.match(shape, tree.get()) == MatchResultE::Matched, matches) << written << " " << narrow(input);
    }
    // structural without the opt-in
    const PatternC plain = compiled("times(wild(a),power(x,wild(n)))");
    Tree bare = read(u"power(x,2)");
    EXPECT_EQ(matcher.match(plain, bare.get()), MatchResultE::NoMatch);
    PatternC bad;
    for (const char* text : {"f(wild(a,default(1,2)))", "f(wilds(a,default(1)))"}) {
        Tree tree = read(widen(text));
        EXPECT_FALSE(bad.compile(tree.get(), PatternC::SettingsS())) << text;
    }
}

// A repeated wildcard marked unordered matches trees equal up to the order
// of the arguments of plus and times, at any depth; others stay structural.
TEST(Matcher, UnorderedRepeatsIgnoreTheOrderOfCommutativeArguments) {
    const PatternC pattern = compiled("f(wild(a,unordered),wild(a))");
    const PatternC plain = compiled("f(wild(a),wild(a))");
    MatcherC matcher;
    const std::pair<const char16_t*, bool> cases[] = {
        {u"f(plus(x,y),plus(y,x))", true},
        {u"f(sin(times(2,plus(x,y))),sin(times(plus(y,x),2)))", true},
        {u"f(plus(x,y,y),plus(y,x,y))", true},
        {u"f(plus(x,y),plus(x,x))", false},
        {u"f(plus(x,y,y),plus(x,x,y))", false},
        {u"f(g(x,y),g(y,x))", false},
        {u"f(plus(x,y),times(y,x))", false},
        {u"f(plus(1,x),plus(x,1.0))", false},
    };
    for (const auto& [input, matches] : cases) {
        Tree tree = read(input);
        EXPECT_EQ(matcher.match(pattern, tree.get()) == MatchResultE::Matched, matches) << narrow(input);
    }
    Tree swapped = read(u"f(plus(x,y),plus(y,x))");
    EXPECT_EQ(matcher.match(plain, swapped.get()), MatchResultE::NoMatch);
}

TEST(Matcher, SlotsMatchAnythingWhenAllowed) {
    const PatternC pattern = compiled("plus(times(wild(a,number),x),wild(b,number))");
    Tree editing = read(u"plus(times(_,_),2)");
    Tree plain = read(u"plus(times(y,x),2)");
    MatcherC matcher;
    EXPECT_EQ(matcher.match(pattern, editing.get()), MatchResultE::NoMatch);
    matcher.setSlotsMatchAnything(true);
    EXPECT_EQ(matcher.match(pattern, editing.get()), MatchResultE::Matched);
    EXPECT_EQ(bindings(matcher, pattern), "a=_; b=2");
    EXPECT_EQ(matcher.match(pattern, plain.get()), MatchResultE::NoMatch);
}

TEST(Matcher, AllMatchesWithTheirPlaces) {
    const PatternC pattern = compiled("times(wild(a,number),x)");
    Tree tree = read(u"plus(times(2,x),f(times(x,3.5),times(y,4)),times(x,1))");
    MatcherC matcher;
    std::vector<MatcherC::PlaceS> places;
    ASSERT_EQ(matcher.matchAll(pattern, tree.get(), places), MatchResultE::Matched);
    std::vector<std::size_t> indices;
    for (const MatcherC::PlaceS& place : places) {
        indices.push_back(place.index);
    }
    EXPECT_EQ(indices, (std::vector<std::size_t>{1, 5, 11}));
    EXPECT_EQ(text(places[1].node), "times(x,3.5)");
    EXPECT_EQ(MatcherC::pathTo(tree.get(), 5), (std::vector<unsigned int>{1, 0}));
    EXPECT_EQ(MatcherC::pathTo(tree.get(), 11), (std::vector<unsigned int>{2}));
    EXPECT_EQ(MatcherC::pathTo(tree.get(), 0), std::vector<unsigned int>{});
    EXPECT_EQ(MatcherC::pathTo(tree.get(), 99), std::vector<unsigned int>{});
    EXPECT_FALSE(matcher.gaveUpSomewhere());
    // the bindings of one match, and where they sit
    ASSERT_EQ(matcher.match(pattern, places[1].node), MatchResultE::Matched);
    ASSERT_EQ(matcher.bindingCount(0), 1u);
    EXPECT_EQ(text(matcher.bindingAt(0, 0)), "3.5");
    EXPECT_EQ(matcher.bindingAt(0, 1), nullptr);
    EXPECT_EQ(matcher.bindingOrigin(0, 0).parent, places[1].node);
    EXPECT_EQ(matcher.bindingOrigin(0, 0).index, 1u);
    EXPECT_EQ(matcher.bindingOrigin(0, 1).parent, nullptr);
    EXPECT_EQ(matcher.bindingCount(1), 0u);
    ASSERT_EQ(matcher.match(compiled("wild(a)"), tree.get()), MatchResultE::Matched);
    EXPECT_EQ(matcher.bindingOrigin(0, 0).parent, nullptr);
    EXPECT_EQ(matcher.match(pattern, tree.get()), MatchResultE::NoMatch);
    EXPECT_EQ(matcher.bindingCount(0), 0u);
    Tree none = read(u"f(y)");
    EXPECT_EQ(matcher.matchAll(pattern, none.get(), places), MatchResultE::NoMatch);
    EXPECT_TRUE(places.empty());
}

TEST(Matcher, DeepTreesAndDeepPatterns) {
    constexpr std::size_t kDepth = 1000000;
    Tree tree = deepChain(kDepth);
    Tree same = deepChain(kDepth);
    Tree other = deepChain(kDepth, u"y");
    PatternC pattern;
    ASSERT_TRUE(pattern.compile(tree.get(), PatternC::SettingsS()));
    MatcherC matcher;
    EXPECT_EQ(matcher.match(pattern, same.get()), MatchResultE::Matched);
    EXPECT_EQ(matcher.match(pattern, other.get()), MatchResultE::NoMatch);
    // the wildcard at the bottom: every level is a function step
    static_cast<ParentNodeABC*>(const_cast<NodeABC*>(deepest(same.get())))->replaceChild(0, read(u"wild(a)").release());
    ASSERT_TRUE(pattern.compile(same.get(), PatternC::SettingsS()));
    ASSERT_EQ(matcher.match(pattern, other.get()), MatchResultE::Matched);
    EXPECT_EQ(text(matcher.binding(0).at(0)), "y");
    // one wildcard bound to the whole deep tree, then compared with it
    const PatternC twice = compiled("g(wild(a),wild(a))");
    ParentNodeABC* g = function(u"g", {tree.release(), deepChain(kDepth).release()});
    Tree pair(g);
    EXPECT_EQ(matcher.match(twice, pair.get()), MatchResultE::Matched);
    std::vector<MatcherC::PlaceS> places;
    EXPECT_EQ(matcher.matchAll(compiled("f(x)"), pair.get(), places), MatchResultE::Matched);
    ASSERT_EQ(places.size(), 2u);
    EXPECT_EQ(MatcherC::pathTo(pair.get(), places[0].index).size(), kDepth);
}

}  // namespace
}  // namespace pattern_tests
