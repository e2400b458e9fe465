// Installing the current session, and executing expressions through it.
#include "SessionFixture.h"

namespace testing_doubles {
namespace {

class CurrentSessionTest : public SessionTest {};

TEST_F(CurrentSessionTest, TheFirstSessionStays) {
    PointerTC<CASSessionBC> current = CASSessionBC::getSession();
    ASSERT_EQ(current.get(), &installed());
    const unsigned long references = current->references();
    CASSessionBC::setSession(nullptr);
    CASSessionBC::setSession(current);
    EXPECT_EQ(current->references(), references);

    CASSessionBC::setSession(makeSession(nullptr));  // not installed, and nothing else holds it
    EXPECT_EQ(takeEvents(), (std::vector<std::string>{"~Session", "~FloatFactory", "~IntFactory"}));
    EXPECT_EQ(CASSessionBC::getSession(), current);
}

TEST_F(CurrentSessionTest, ExecuteHandsOverItsArgumentsUnchanged) {
    PointerTC<AlgebraicExpressionC> e = read(u"f(x)");
    PointerTC<AlgebraicExpressionC> answer = read(u"42");
    installed().result = answer;
    std::u16string text;
    EXPECT_EQ(e->execute(true, &text), answer);
    EXPECT_EQ(installed().executed, e.get());
    EXPECT_EQ(installed().executed_references, 2u);  // the caller's and the call's own
    EXPECT_TRUE(installed().executed_flag);
    EXPECT_EQ(installed().executed_text, &text);
    EXPECT_EQ(e->references(), 1u);

    installed().result = nullptr;
    EXPECT_FALSE(e->execute(false, nullptr));
    EXPECT_FALSE(installed().executed_flag);
    EXPECT_EQ(installed().executed_text, nullptr);
    EXPECT_EQ(e->getCASSession().get(), &installed());
    EXPECT_FALSE(e->getCASEngine());
}

}  // namespace
}  // namespace testing_doubles
