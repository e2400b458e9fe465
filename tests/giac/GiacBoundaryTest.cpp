// SPDX-License-Identifier: MIT
// Giac at the boundary: nothing it prints reaches the host's standard output
// or error, and sessions evaluate from several threads at once.
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "GiacFixture.h"

using namespace giac_tests;

namespace {

// Sends file descriptors 1 and 2 to a file while it lives.
class CaptureC {
public:
    CaptureC() : file(std::tmpfile()) {
        std::fflush(nullptr);
        saved_out = ::dup(1);
        saved_err = ::dup(2);
        ::dup2(::fileno(file), 1);
        ::dup2(::fileno(file), 2);
    }
    ~CaptureC() {
        restore();
        std::fclose(file);
    }
    CaptureC(const CaptureC&) = delete;
    CaptureC& operator=(const CaptureC&) = delete;

    std::string text() {
        restore();
        std::string all;
        std::rewind(file);
        char buffer[256];
        while (std::fgets(buffer, sizeof buffer, file) != nullptr) {
            all += buffer;
        }
        return all;
    }

private:
    void restore() {
        if (saved_out < 0) {
            return;
        }
        std::fflush(nullptr);
        ::dup2(saved_out, 1);
        ::dup2(saved_err, 2);
        ::close(saved_out);
        ::close(saved_err);
        saved_out = saved_err = -1;
    }

    std::FILE* file;
    int saved_out = -1;
    int saved_err = -1;
};

TEST(GiacBoundaryTest, NothingOfGiacReachesTheHostsOutput) {
    session();
    CaptureC capture;
    // Each of these has Giac print a warning or a note for its log.
    for (const char* input : {"solve(minus(power(x,4),1),x)", "integrate(abs(x),x,-1,1)",
                              "integrate(exp(neg(x)),x,0,infinity)", "limit(divide(abs(x),x),x,0)",
                              "solve(minus(tan(x),1),x)", "integrate(divide(1,x),x,-1,1)", "sum(divide(1,k),k,1,infinity)",
                              "factor(plus(power(x,6),1))", "series(divide(1,sin(x)),x,0,3)", "divide(x,0)"}) {
        run(input);
    }
    EXPECT_EQ(capture.text(), "");
}

TEST(GiacBoundaryTest, SessionsEvaluateFromSeveralThreadsAtOnce) {
    session();
    std::vector<std::string> results(4);
    std::vector<std::thread> threads;
    for (std::size_t t = 0; t < results.size(); ++t) {
        threads.emplace_back([t, &results] {
            GiacSessionC own;
            const std::string n = std::to_string(t + 2);
            for (int k = 0; k < 10; ++k) {
                PointerTC<AlgebraicExpressionC> e =
                    AlgebraicExpressionC::fromPrefixString(wide("integrate(power(x," + n + "),x)"));
                std::u16string why;
                PointerTC<AlgebraicExpressionC> r = own.executeExpression(e, false, &why);
                results[t] = r ? narrow(r->toPrefixString(0, qorv::math::Standard)) : narrow(why);
            }
        });
    }
    for (std::thread& thread : threads) {
        thread.join();
    }
    EXPECT_EQ(results[0], "divide(power(x,3),3)");
    EXPECT_EQ(results[3], "divide(power(x,6),6)");
}

TEST(GiacBoundaryTest, WritesNamesTheVocabularyLacksAsExtendedOnes) {
    // A session whose vocabulary has only some of the names: the rest of a
    // result is written with extended nodes, and reads as the same text.
    static const char16_t* const kNames[] = {u"plus", u"times", u"power", u"solve", u"integrate", u""};
    GiacSessionC narrow_session(kNames);
    EXPECT_EQ(narrow_session.getCASEngine()->getName().substr(0, 5), u"Giac ");
    PointerTC<AlgebraicExpressionC> e = AlgebraicExpressionC::fromPrefixString(u"integrate(x,x)");
    std::u16string why;
    // The current session's codes differ from this one's: build the call
    // from extended nodes, which every session reads by name.
    PointerTC<AlgebraicExpressionC> r = narrow_session.executeExpression(e, false, &why);
    ASSERT_TRUE(r) << narrow(why);
}

}  // namespace
