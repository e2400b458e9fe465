// SPDX-License-Identifier: MIT
// The GiNaC client at its limits: for each of the most expensive inputs the
// limits let through (and a few just past them), the wall-clock time of the
// evaluation and the worker thread's stack high-water mark. This is how the
// limits and GinacEngineC::kWorkerStackBytes were chosen; run it again after
// changing them, and under the sanitizers, where frames are larger.
//
//   algexpr_ginac_limits [filter]     (only the cases whose name holds filter)
#include <pthread.h>
#include <sys/mman.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "algexpr/AlgebraicExpressionC.h"
#include "algexpr/CASSessionBC.h"
#include "algexpr/ginac.h"
#include "oss/PointerTC.h"

namespace {

using qorv::math::algexpr::AlgebraicExpressionC;
using qorv::math::algexpr::CASSessionBC;
using qorv::math::algexpr::ginac::GinacEngineC;
using qorv::math::algexpr::ginac::GinacSessionC;
using qorv::oss::PointerTC;

std::string nested(const std::string& function, std::size_t depth, const std::string& inner,
                   const std::string& after = "") {
    std::string text;
    for (std::size_t i = 0; i < depth; ++i) {
        text += function + "(";
    }
    text += inner;
    for (std::size_t i = 0; i < depth; ++i) {
        text += after + ")";
    }
    return text;
}

// Bytes of the worker's stack that have ever been touched (pages stay
// resident once used, so this is the high-water mark so far).
void measureStack(void* context) {
    pthread_attr_t attributes;
    void* base = nullptr;
    std::size_t size = 0;
    if (pthread_getattr_np(pthread_self(), &attributes) == 0) {
        pthread_attr_getstack(&attributes, &base, &size);
        pthread_attr_destroy(&attributes);
    }
    const auto page = static_cast<std::size_t>(sysconf(_SC_PAGESIZE));
    std::vector<unsigned char> resident(size / page);
    std::size_t touched = 0;
    if (base != nullptr && mincore(base, size, resident.data()) == 0) {
        for (unsigned char r : resident) {
            touched += (r & 1) != 0 ? page : 0;
        }
    }
    *static_cast<std::size_t*>(context) = touched;
}

struct Case {
    const char* name;
    std::string text;
    bool numeric;
};

}  // namespace

int main(int argc, char** argv) {
    const std::string filter = argc > 1 ? argv[1] : "";
    auto* session = new GinacSessionC();
    CASSessionBC::setSession(PointerTC<CASSessionBC>(session));
    const std::size_t depth = GinacEngineC::kMaxDepth;
    const std::vector<Case> cases = {
        {"eval sin chain at the depth limit", nested("sin", depth, "x"), false},
        {"eval f chain at the depth limit", nested("f", depth, "x"), false},
        {"numeric sin chain at the depth limit", nested("sin", depth, "2"), true},
        {"eval power chain at the depth limit", nested("power", depth, "x", ",x"), false},
        {"eval divide chain at the depth limit", nested("divide", depth, "x", ",y"), false},
        {"expand power chain at the depth limit", "expand(" + nested("power", depth - 2, "plus(x,1)", ",x") + ")", false},
        {"simplify power chain at its limit", "simplify(" + nested("power", GinacEngineC::kMaxSimplifyDepth, "x", ",x") + ")", false},
        {"diff sin chain at its limit", "diff(" + nested("sin", GinacEngineC::kMaxDiffDepth, "x") + ",x)", false},
        {"diff f chain at its limit", "diff(" + nested("f", GinacEngineC::kMaxDiffDepth, "x") + ",x)", false},
        {"diff power chain at its limit", "diff(" + nested("power", GinacEngineC::kMaxDiffDepth, "x", ",x") + ",x)", false},
        {"simplify sin chain at its limit", "simplify(" + nested("sin", GinacEngineC::kMaxSimplifyDepth, "x") + ")", false},
        {"factor sin chain at its limit", "factor(" + nested("sin", GinacEngineC::kMaxSimplifyDepth, "x") + ")", false},
        {"series sin chain at its limit", "series(" + nested("sin", GinacEngineC::kMaxSeriesDepth, "x") + ",x,0,3)", false},
        {"series exp at the order limit", "series(exp(sin(x)),x,0," + std::to_string(GinacEngineC::kMaxSeriesOrder) + ")", false},
        {"diff at the order limit", "diff(times(f(x),g(x),sin(x)),x," + std::to_string(GinacEngineC::kMaxDiffOrder) + ")", false},
        {"power with 10^6 digits", "power(3,2095903)", false},
        {"power beyond the digit limit", "power(3,power(10,9))", false},
        {"expand near the term limit", "expand(power(plus(x,y,z,w,1),21))", false},
        {"expand near the digit limit", "expand(power(plus(times(2,x),3),2000))", false},
        {"simplify that expands", "simplify(plus(power(plus(x,1),3000),divide(1,x)))", false},
        {"factor at the degree limit", "factor(plus(power(x,40),1))", false},
        {"factor x^36+1", "factor(plus(power(x,36),1))", false},
        {"numeric at the digit limit", "sin(1)", true},
        {"depth error for a million levels", nested("sin", 1000000, "x"), false},
    };
    for (const Case& c : cases) {
        if (!filter.empty() && std::string(c.name).find(filter) == std::string::npos) {
            continue;
        }
        if (std::string(c.name) == "numeric at the digit limit") {
            session->setDigits(GinacEngineC::kMaxDigits);
        }
        PointerTC<AlgebraicExpressionC> expression =
            AlgebraicExpressionC::fromPrefixString(std::u16string(c.text.begin(), c.text.end()));
        std::u16string reason;
        const auto start = std::chrono::steady_clock::now();
        PointerTC<AlgebraicExpressionC> result =
            expression ? expression->execute(c.numeric, &reason) : PointerTC<AlgebraicExpressionC>();
        const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        std::size_t stack = 0;
        GinacEngineC::runOnWorker(measureStack, &stack);
        const std::string why(reason.begin(), reason.end());
        std::printf("%-40s %8.3f s  stack %7.2f MiB  %s\n", c.name, seconds, static_cast<double>(stack) / (1 << 20),
                    result ? "result" : ("null: " + why.substr(0, 70)).c_str());
        std::fflush(stdout);
        session->setDigits(GinacEngineC::kDefaultDigits);
    }
    return 0;
}
