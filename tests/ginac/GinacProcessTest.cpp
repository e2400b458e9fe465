// SPDX-License-Identifier: MIT
// The GiNaC client across processes: exhausting memory under an address-space
// limit ends evaluations with "out of memory" instead of aborting the process
// (GMP's and CLN's allocation functions throw), and the worker thread comes
// back in the child of a fork.
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <string>

#include <gtest/gtest.h>

#include "algexpr/algexpr.h"
#include "algexpr/ginac.h"

#if defined(__SANITIZE_ADDRESS__)
#define ALGEXPR_TEST_ASAN 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define ALGEXPR_TEST_ASAN 1
#endif
#endif

using namespace qorv::math::algexpr;
using namespace qorv::math::algexpr::ginac;
using qorv::oss::PointerTC;

namespace {

std::string narrow(const std::u16string& text) { return std::string(text.begin(), text.end()); }

void install() {
    static const bool installed = [] {
        CASSessionBC::setSession(PointerTC<CASSessionBC>(new GinacSessionC()));
        return true;
    }();
    (void)installed;
}

std::string eval(const std::string& text, std::string* reason = nullptr) {
    install();
    PointerTC<AlgebraicExpressionC> e = AlgebraicExpressionC::fromPrefixString(std::u16string(text.begin(), text.end()));
    std::u16string why;
    PointerTC<AlgebraicExpressionC> r = e ? e->execute(false, &why) : PointerTC<AlgebraicExpressionC>();
    if (reason != nullptr) {
        *reason = narrow(why);
    }
    return r ? narrow(r->toPrefixString(0, qorv::math::Standard)) : "null";
}

#ifndef ALGEXPR_TEST_ASAN
// The process's address space in bytes.
rlim_t addressSpace() {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("VmSize:", 0) == 0) {
            return static_cast<rlim_t>(std::stoull(line.substr(7))) * 1024;
        }
    }
    return 0;
}
#endif

#ifndef ALGEXPR_TEST_ASAN
// Under a limit a little above what the process uses, big computations run
// out of memory one after the other; each must end as a null result, and the
// engine must work again once memory is back.
void exhaustMemory() {
    if (eval("plus(1,1)") != "2") {
        std::_Exit(2);
    }
    rlimit limit{};
    getrlimit(RLIMIT_AS, &limit);
    const rlimit saved = limit;
    limit.rlim_cur = addressSpace() + (24u << 20);
    if (setrlimit(RLIMIT_AS, &limit) != 0) {
        std::_Exit(3);
    }
    int out_of_memory = 0;
    const char* big[] = {"power(3,2000000)", "expand(power(plus(x,y,z,1),80))",
                         "times(power(7,1100000),power(11,900000),power(13,800000))", "power(3,2000000)"};
    for (const char* text : big) {
        std::string reason;
        const std::string result = eval(text, &reason);
        if (result == "null") {
            std::fprintf(stderr, "%s: %s\n", text, reason.c_str());
            out_of_memory += reason == "out of memory" ? 1 : 0;
        }
    }
    setrlimit(RLIMIT_AS, &saved);
    std::_Exit(out_of_memory > 0 && eval("plus(1,2)") == "3" ? 0 : 1);
}
#endif

TEST(GinacProcessTest, RunningOutOfMemoryGivesNullResultsNotAnAbort) {
#ifdef ALGEXPR_TEST_ASAN
    GTEST_SKIP() << "AddressSanitizer reserves address space beyond any limit worth setting";
#else
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(exhaustMemory(), testing::ExitedWithCode(0), "out of memory");
#endif
}

TEST(GinacProcessTest, TheChildOfAForkGetsAWorkerOfItsOwn) {
    ASSERT_EQ(eval("plus(x,x)"), "times(2,x)");
    const pid_t child = fork();
    ASSERT_NE(child, -1);
    if (child == 0) {
        std::_Exit(eval("diff(power(x,2),x)") == "times(2,x)" ? 0 : 1);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    EXPECT_EQ(eval("minus(y,x)"), "minus(y,x)");
}

}  // namespace
