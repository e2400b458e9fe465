// SPDX-License-Identifier: MIT
// Giac at the boundary: nothing it prints reaches the host's standard output
// or error, and sessions evaluate from several threads at once.
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <iostream>
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

TEST(GiacBoundaryTest, NothingOfGiacReachesTheHostsOutputWhenAsked) {
    // Each of these has Giac print a warning or a note for its log: the
    // engine's own log takes them, with the standard streams left as they are.
    session();
    std::streambuf* const host_buffer = std::cerr.rdbuf();
    {
        CaptureC capture;
        for (const char* input : {"solve(minus(power(x,4),1),x)", "integrate(abs(x),x,-1,1)",
                                  "integrate(exp(neg(x)),x,0,infinity)", "limit(divide(abs(x),x),x,0)",
                                  "solve(minus(tan(x),1),x)", "integrate(divide(1,x),x,-1,1)",
                                  "sum(divide(1,k),k,1,infinity)", "factor(plus(power(x,6),1))",
                                  "series(divide(1,sin(x)),x,0,3)", "divide(x,0)"}) {
            run(input);
        }
        EXPECT_EQ(capture.text(), "");
    }
    EXPECT_EQ(std::cerr.rdbuf(), host_buffer);
    EXPECT_FALSE(session().getFilterStandardStreams());
    EXPECT_TRUE(session().setFilterStandardStreams(false));

    // Giac writes a message of its own on std::cerr for this one: the
    // filter drops what the engine writes there.
    ASSERT_TRUE(session().setFilterStandardStreams(true));
    EXPECT_TRUE(session().getFilterStandardStreams());
    EXPECT_FALSE(session().setFilterStandardStreams(false));
    CaptureC capture;
    for (int i = 0; i < 2; ++i) {
        EXPECT_EQ(eval("limit(sin(sqrt(log(power(x,x)))),x,0)"), "0");
    }
    // What the host writes still comes out.
    std::cerr << "the host's own line" << std::endl;
    EXPECT_EQ(capture.text(), "the host's own line\n");
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

TEST(GiacBoundaryTest, WritesWithTheCodesOfItsOwnVocabulary) {
    // A session with only some names, not the current one: its trees are
    // built by hand with its codes (integrate is 3, cos 4, sinh 5 here). A
    // result is written with its codes, and with extended nodes for names it
    // lacks (sin, divide).
    static const char16_t* const kNames[] = {u"plus", u"times", u"power", u"integrate", u"cos", u"sinh", u""};
    session();
    PointerTC<GiacSessionC> own(new GiacSessionC(kNames));
    const auto integral = [&own](int function) {
        auto* call = new CoreFunctionNodeC(3);
        PointerTC<AlgebraicExpressionC> e(new AlgebraicExpressionC(call));
        auto* inner = new CoreFunctionNodeC(function);
        inner->addChild(new ExtendedSymbolNodeC(own->lookupSymbol(u"x")));
        call->addChild(inner);
        call->addChild(new ExtendedSymbolNodeC(own->lookupSymbol(u"x")));
        std::u16string why;
        return own->executeExpression(e, false, &why);
    };
    PointerTC<AlgebraicExpressionC> sine = integral(4);
    ASSERT_TRUE(sine);
    auto* named = dynamic_cast<ExtendedFunctionNodeC*>(sine->getNode());
    ASSERT_NE(named, nullptr);
    EXPECT_EQ(named->getSymbol()->getName(), u"sin");
    PointerTC<AlgebraicExpressionC> square = integral(5);
    ASSERT_TRUE(square);
    // Giac writes it (exp(x)+exp(-x))/2: a divide, which the vocabulary lacks,
    // around a plus, which it has.
    auto* quotient = dynamic_cast<ExtendedFunctionNodeC*>(square->getNode());
    ASSERT_NE(quotient, nullptr);
    EXPECT_EQ(quotient->getSymbol()->getName(), u"divide");
    auto* sum = dynamic_cast<CoreFunctionNodeC*>(quotient->child(0));
    ASSERT_NE(sum, nullptr);
    EXPECT_EQ(sum->getCode(), 0);
}

}  // namespace
