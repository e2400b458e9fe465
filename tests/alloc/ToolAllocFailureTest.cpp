// SPDX-License-Identifier: MIT
// The tool's operation commands and prefix writer with every allocation made
// to fail in turn: nothing leaks (the call node that wraps the expression
// included), and the writer never answers success with an empty line.
#include <gtest/gtest.h>

#include <new>
#include <string>
#include <vector>

#include "FailureInjector.h"
#include "InputPlaceC.h"
#include "OperationCommandC.h"
#include "PrefixReaderC.h"
#include "PrefixWriterC.h"
#include "algexpr/algexpr.h"
#include "algexpr/numeric.h"

namespace {

using namespace qorv::math::algexpr;
using qorv::oss::PointerTC;

TEST(ToolAllocFailureTest, AnOperationCommandLeaksNothingWhateverAllocationFails) {
    cli::PrefixReaderC reader(false);
    cli::PrefixWriterC writer(0, qorv::math::Standard);
    cli::OperationCommandC command("plus", {}, reader, writer);
    std::string problem;
    ASSERT_TRUE(command.prepare(problem)) << problem;
    PointerTC<AlgebraicExpressionC> expression = AlgebraicExpressionC::fromPrefixString(u"times(2,sin(x),3)");
    ASSERT_TRUE(expression);
    const cli::InputPlaceC place("argument", 1);
    std::string warm;
    command.handle(*expression, place, warm, problem);  // the session's tables grow once
    CASSessionBC::getSession()->flushUnusedSymbols();
    const long before = FailureInjector::live();
    bool reached_end = false;
    for (long k = 1; !reached_end && k < 2000; ++k) {
        FailureInjector::prepare(FailureInjector::FailOnce, k);
        {
            std::string out;
            std::string why;
            FailureInjector::Armed armed;
            try {
                command.handle(*expression, place, out, why);
            } catch (const std::bad_alloc&) {
            }
        }
        reached_end = !FailureInjector::fired();
        FailureInjector::prepare(FailureInjector::None, 0);
    }
    EXPECT_TRUE(reached_end);
    CASSessionBC::getSession()->flushUnusedSymbols();
    EXPECT_EQ(FailureInjector::live(), before) << "what a failed allocation left behind";
}

TEST(ToolAllocFailureTest, ThePrefixWriterNeverWritesAnEmptyLineForATree) {
    cli::PrefixWriterC writer(0, qorv::math::Standard);
    PointerTC<AlgebraicExpressionC> expression = AlgebraicExpressionC::fromPrefixString(u"plus(x,sin(times(2,y)))");
    ASSERT_TRUE(expression);
    bool reached_end = false;
    for (long k = 1; !reached_end && k < 2000; ++k) {
        FailureInjector::prepare(FailureInjector::FailFromThen, k);
        std::string out;
        std::string problem;
        bool written = false;
        {
            FailureInjector::Armed armed;
            try {
                written = writer.write(*expression->getNode(), out, problem);
            } catch (const std::bad_alloc&) {
                problem = "thrown";
            }
        }
        reached_end = !FailureInjector::fired();
        FailureInjector::prepare(FailureInjector::None, 0);
        if (written) {
            EXPECT_EQ(out, "plus(x,sin(times(2,y)))") << "allocation " << k;
        } else {
            EXPECT_FALSE(problem.empty()) << "allocation " << k;
        }
    }
    EXPECT_TRUE(reached_end);
}

}  // namespace

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    CASSessionBC::setSession(new numeric::NumericSessionC());
    return RUN_ALL_TESTS();
}
