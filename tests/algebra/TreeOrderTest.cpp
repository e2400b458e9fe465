// SPDX-License-Identifier: MIT
// Equality, order and hash of trees: what counts as equal (kinds, names,
// codes, numbers exactly, shapes), the order of each, agreement of the three
// on a random corpus, and trees a million deep and wide.
#include <algorithm>
#include <cmath>
#include <limits>
#include <random>
#include <string>
#include <vector>

#include "AlgebraFixture.h"
#include "support/RandomTexts.h"

namespace algebra_tests {
namespace {

int sign(int x) { return (x > 0) - (x < 0); }

// compareTrees(a, b), checked against its mirror, equalTrees and the hashes.
int order(const NodeABC* a, const NodeABC* b) {
    const int forward = sign(compareTrees(a, b));
    EXPECT_EQ(sign(compareTrees(b, a)), -forward) << text(a) << " " << text(b);
    EXPECT_EQ(equalTrees(a, b), forward == 0) << text(a) << " " << text(b);
    if (forward == 0) {
        EXPECT_EQ(hashTree(a), hashTree(b)) << text(a);
    }
    return forward;
}

int order(const Tree& a, const Tree& b) { return order(a.get(), b.get()); }

// Each tree comes strictly before the next.
void expectAscending(const std::vector<NodeABC*>& trees) {
    std::vector<Tree> owned(trees.begin(), trees.end());
    for (std::size_t i = 0; i + 1 < owned.size(); ++i) {
        for (std::size_t j = i + 1; j < owned.size(); ++j) {
            EXPECT_EQ(order(owned[i], owned[j]), -1) << i << " " << j << ": " << text(owned[i].get()) << " "
                                                      << text(owned[j].get());
        }
    }
}

TEST(TreeOrderTest, KindsComeInTheirOrder) {
    // integer, float, core symbol, extended symbol, core function, extended function
    expectAscending({read(u"7").release(), read(u"0.5").release(), read(u"pi").release(), read(u"a").release(),
                     read(u"plus(a)").release(), read(u"f(a)").release()});
    // Printed alike, of different kinds: a core symbol and a symbol named pi.
    Tree core = read(u"pi");
    Tree named(symbol(u"pi"));
    EXPECT_EQ(text(core.get()), text(named.get()));
    EXPECT_EQ(order(core, named), -1);
    EXPECT_EQ(order(read(u"f"), read(u"f(x)")), -1);  // a symbol and a function of one name
}

TEST(TreeOrderTest, NamesCodesAndShapes) {
    expectAscending({read(u"B").release(), read(u"a").release(), read(u"ab").release(), read(u"b").release()});
    expectAscending({read(u"plus(x)").release(), read(u"minus(x)").release(), read(u"sin(x)").release()});  // codes 0, 1, 6
    expectAscending({read(u"f(a)").release(), read(u"f(a,b)").release(), read(u"f(b)").release(),
                     read(u"f(f(a))").release(), read(u"g(a)").release()});
    expectAscending({function(u"f", {function(u"g", {}), symbol(u"h")}), read(u"f(g(x))").release()});
    EXPECT_EQ(order(read(u"f(g(x),y)"), read(u"f(g(x,y))")), -1);

    // Null children are left out, as in print; a null tree comes first.
    Tree holes = read(u"f(a,z,b)");
    static_cast<ParentNodeABC*>(holes.get())->replaceChild(1, nullptr);
    EXPECT_EQ(order(holes, read(u"f(a,b)")), 0);
    EXPECT_EQ(order(nullptr, read(u"x").get()), -1);
    EXPECT_EQ(order(nullptr, nullptr), 0);
}

// Symbols compare by name: those of another session or a flushed and new
// one are equal; a leaf without a symbol is the empty name.
TEST(TreeOrderTest, SymbolsCompareByName) {
    PointerTC<CASSessionBC> other(new numeric::NumericSessionC);
    Tree mine = read(u"f(x)");
    Tree theirs(new ExtendedFunctionNodeC(other->lookupSymbol(u"f")));
    static_cast<ParentNodeABC*>(theirs.get())->addChild(new ExtendedSymbolNodeC(other->lookupSymbol(u"x")));
    EXPECT_EQ(order(mine, theirs), 0);
    EXPECT_EQ(order(Tree(new ExtendedSymbolNodeC(nullptr)), Tree(symbol(u""))), 0);
    EXPECT_EQ(order(Tree(new ExtendedSymbolNodeC(nullptr)), Tree(symbol(u"a"))), -1);
}

TEST(TreeOrderTest, IntegersByValueAndExactlyBeyond64Bits) {
    expectAscending({new IntegerNodeC(nullptr), bigInteger(u"-100000000000000000000"),
                     bigInteger(u"-99999999999999999999"), read(u"-9223372036854775807").release(),
                     read(u"-3").release(), read(u"2").release(), read(u"10").release(),
                     read(u"9223372036854775807").release(), bigInteger(u"9223372036854775808"),
                     bigInteger(u"99999999999999999999"), bigInteger(u"100000000000000000000")});
    // getValue() ties at the limit; the texts tell the numbers apart.
    const std::u16string big = u"123456789012345678901234567890";
    EXPECT_EQ(order(Tree(bigInteger(big)), Tree(bigInteger(big))), 0);
    EXPECT_EQ(order(Tree(bigInteger(big)), Tree(bigInteger(u"123456789012345678901234567891"))), -1);
    EXPECT_EQ(order(Tree(new IntegerNodeC(nullptr)), Tree(new IntegerNodeC(nullptr))), 0);
    // A client whose getValue() wraps beyond 64 bits ties 2^64, -2^64 and 0:
    // the texts still order them by sign, then length.
    struct Wrapped : BigInteger {
        using BigInteger::BigInteger;
        std::int64_t getValue() const override { return 0; }
    };
    expectAscending({new IntegerNodeC(new Wrapped(u"-18446744073709551616")), new IntegerNodeC(new Wrapped(u"0")),
                     new IntegerNodeC(new Wrapped(u"18446744073709551616"))});
    EXPECT_EQ(order(read(u"2"), read(u"2.0")), -1);  // an integer and a float are different kinds
}

// Floats: by value, NaN last, 0 and -0 apart by their texts, NaN equal to
// itself; a value with more digits than a double compares by all of them.
TEST(TreeOrderTest, FloatsByValueThenText) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    expectAscending({new FloatNodeC(nullptr), real(-inf), real(-0.5), real(-0.0), real(0.0), real(1e-300), real(0.1),
                     real(inf), real(nan)});
    EXPECT_EQ(order(Tree(real(nan)), Tree(real(nan))), 0);
    EXPECT_EQ(order(Tree(new FloatNodeC(nullptr)), Tree(new FloatNodeC(nullptr))), 0);
    EXPECT_EQ(order(Tree(real(-0.0)), Tree(real(0.0))), -1);
    EXPECT_EQ(order(read(u"0.1"), Tree(real(0.1))), 0);
    EXPECT_EQ(order(Tree(longFloat(0.1, u"0.1")), Tree(longFloat(0.1, u"0.1000000000000000000001"))), -1);
    EXPECT_EQ(order(Tree(longFloat(0.1, u"0.1")), Tree(longFloat(0.1, u"0.1"))), 0);
    EXPECT_EQ(order(Tree(longFloat(0.2, u"x")), Tree(longFloat(0.1, u"x"))), 1);  // the value first
}

// A client's class derived from a library class counts as that class; one of
// its own compares by its id's text, then its text.
TEST(TreeOrderTest, ClientsClassesCountAsTheirBase) {
    class Other : public LeafNodeABC {
    public:
        Other(const char16_t* id, const char16_t* text) : id(id), shown(text) {}
        NodeABC* clone() const override { return new Other(id, shown); }
        std::u16string toString() const override { return shown; }
        bool acceptVisitor(NodeVisitorABC&, VisitationOrderE) override { return true; }
        const char16_t* qCastableId() const override { return id; }
        const char16_t* id;
        const char16_t* shown;
    };
    EXPECT_EQ(order(Tree(new Tagged<ExtendedSymbolNodeC>(u"x")), read(u"x")), 0);
    expectAscending({read(u"f(x)").release(), new Other(u"A", u"z"), new Other(u"B", u"a"), new Other(u"B", u"b")});
    EXPECT_EQ(order(Tree(new Other(u"B", u"a")), Tree(new Other(u"B", u"a"))), 0);
}

TEST(TreeOrderTest, HeadsAlone) {
    Tree a = read(u"f(x,y)");
    Tree b = read(u"f(z)");
    EXPECT_EQ(compareHeads(a.get(), b.get()), 0);
    EXPECT_TRUE(equalHeads(a.get(), b.get()));
    EXPECT_FALSE(equalHeads(a.get(), read(u"g(x,y)").get()));
    EXPECT_LT(compareHeads(a.get(), read(u"g(x,y)").get()), 0);
    EXPECT_FALSE(equalHeads(a.get(), nullptr));
    EXPECT_TRUE(equalHeads(nullptr, nullptr));
    EXPECT_GT(compareHeads(a.get(), nullptr), 0);
    EXPECT_TRUE(equalHeads(read(u"pi").get(), read(u"pi").get()));
    EXPECT_FALSE(equalHeads(read(u"pi").get(), read(u"e").get()));
    EXPECT_FALSE(equalHeads(read(u"2").get(), read(u"3").get()));
}

// Random expressions over a small vocabulary, so that many are equal: the
// three operations agree with each other and with the printed text (which the
// numeric client writes exactly), and the order is transitive.
TEST(TreeOrderTest, EqualityOrderAndHashAgreeOnARandomCorpus) {
    testing_doubles::RandomTexts corpus(42, {u"x", u"y", u"pi", u"1", u"2", u"-1", u"0.5", u"2.0", u"-0.0", u"0.0"},
                                        {u"f", u"g", u"plus", u"sin"}, 3, 2);
    std::vector<Tree> trees;
    std::vector<std::string> texts;
    for (int i = 0; i < 400; ++i) {
        trees.push_back(read(corpus.next()));
        texts.push_back(text(trees.back().get()));
    }
    std::size_t equal_pairs = 0;
    for (std::size_t i = 0; i < trees.size(); ++i) {
        for (std::size_t j = 0; j < trees.size(); ++j) {
            const bool equal = texts[i] == texts[j];
            ASSERT_EQ(compareTrees(trees[i].get(), trees[j].get()) == 0, equal) << texts[i] << " " << texts[j];
            ASSERT_EQ(equalTrees(trees[i].get(), trees[j].get()), equal);
            ASSERT_EQ(sign(compareTrees(trees[i].get(), trees[j].get())),
                      -sign(compareTrees(trees[j].get(), trees[i].get())));
            if (equal) {
                ASSERT_EQ(hashTree(trees[i].get()), hashTree(trees[j].get()));
                equal_pairs += i < j ? 1 : 0;
            }
        }
    }
    EXPECT_GT(equal_pairs, 100u);  // the corpus does repeat itself
    std::mt19937_64 pick_index(7);
    for (int k = 0; k < 20000; ++k) {
        const NodeABC* t[3];
        for (const NodeABC*& pick : t) {
            pick = trees[pick_index() % trees.size()].get();
        }
        if (compareTrees(t[0], t[1]) <= 0 && compareTrees(t[1], t[2]) <= 0) {
            ASSERT_LE(compareTrees(t[0], t[2]), 0) << text(t[0]) << " " << text(t[1]) << " " << text(t[2]);
        }
    }
    // Sorted, equal trees stand together; distinct trees hash apart, but for
    // 0 and -0, which tie by value and so hash alike.
    std::vector<const NodeABC*> sorted;
    for (const Tree& tree : trees) {
        sorted.push_back(tree.get());
    }
    std::sort(sorted.begin(), sorted.end(), TreeLessC());
    std::vector<std::pair<std::size_t, std::string>> hashes;  // of distinct trees, with their text sans "-0"
    for (std::size_t i = 0; i < sorted.size(); ++i) {
        ASSERT_TRUE(i == 0 || compareTrees(sorted[i - 1], sorted[i]) <= 0);
        if (i == 0 || !equalTrees(sorted[i - 1], sorted[i])) {
            std::string unsigned_zeros = text(sorted[i]);
            for (std::size_t at; (at = unsigned_zeros.find("-0.0")) != std::string::npos;) {
                unsigned_zeros.erase(at, 1);
            }
            hashes.emplace_back(hashTree(sorted[i]), unsigned_zeros);
        }
    }
    std::sort(hashes.begin(), hashes.end());
    for (std::size_t i = 1; i < hashes.size(); ++i) {
        if (hashes[i - 1].first == hashes[i].first) {
            EXPECT_EQ(hashes[i - 1].second, hashes[i].second);
        }
    }
}

TEST(TreeOrderTest, AMillionDeepAndAMillionWide) {
    const std::size_t n = 1000000;
    Tree deep = deepChain(n);
    EXPECT_EQ(order(deep, deepChain(n)), 0);
    EXPECT_EQ(order(deep, deepChain(n, u"y")), -1);  // the leaves at the bottom differ
    EXPECT_EQ(order(deepChain(n - 1), deep), -1);
    Tree wide = wideCall(n);
    EXPECT_EQ(order(wide, wideCall(n)), 0);
    EXPECT_EQ(order(wide, wideCall(n, {u"x", u"z"})), -1);
    EXPECT_EQ(order(wideCall(n - 1), wide), -1);
    EXPECT_NE(hashTree(deep.get()), hashTree(wide.get()));
}

TEST(TreeOrderTest, Expressions) {
    session();
    PointerTC<AlgebraicExpressionC> a = AlgebraicExpressionC::fromPrefixString(u"plus(x,1)");
    PointerTC<AlgebraicExpressionC> b = AlgebraicExpressionC::fromPrefixString(u"plus( x , 1 )");
    PointerTC<AlgebraicExpressionC> c = AlgebraicExpressionC::fromPrefixString(u"plus(x,2)");
    EXPECT_TRUE(a->equals(*b));
    EXPECT_EQ(a->compare(*b), 0);
    EXPECT_EQ(a->hash(), b->hash());
    EXPECT_LT(a->compare(*c), 0);
    EXPECT_FALSE(a->equals(*c));
    AlgebraicExpressionC rootless(nullptr);
    EXPECT_TRUE(rootless.equals(AlgebraicExpressionC(nullptr)));
    EXPECT_LT(rootless.compare(*a), 0);
}

}  // namespace
}  // namespace algebra_tests
