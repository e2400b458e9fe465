// SPDX-License-Identifier: MIT
// The GiNaC client at its limits: for each of the most expensive inputs the
// limits let through (and a few just past them), and for compositions that
// each operation's own check once let run away for a minute or more, the
// wall-clock time of the evaluation and the worker thread's stack high-water
// mark. This is how the
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
using qorv::math::algexpr::ginac::GinacLimitsS;
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

std::string repeated(const std::string& f, const std::string& part, int n) {
    std::string text = f + "(" + part;
    for (int i = 1; i < n; ++i) {
        text += "," + part;
    }
    return text + ")";
}

// The sum of 1/(x+k) for k from 1 to n.
std::string fractions(int n) {
    std::string text = "plus(";
    for (int k = 1; k <= n; ++k) {
        text += (k > 1 ? ",divide(1,plus(x," : "divide(1,plus(x,") + std::to_string(k) + "))";
    }
    return text + ")";
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
        {"imag_part of a tan chain at its limit", "imag_part(" + nested("tan", GinacLimitsS().parts_depth, "-3") + ")", false},
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
    const std::vector<Case> compositions = {
        {"composition: diff of diff, order 100", "diff(diff(sin(times(x,cos(x))),x,50),x,50)", false},
        {"composition: 2000 powers of 10^999999", repeated("times", "power(10,999999)", 2000), false},
        {"composition: factor of an expansion", "factor(expand(power(plus(x,y,z),30)))", false},
        {"composition: three diffs of order 20", "diff(diff(diff(times(f(x),g(x)),x,20),x,20),x,20)", false},
        {"composition: power of power of power", "power(power(power(2,1000),1000),1000)", false},
        {"composition: product of four powers", "times(power(2,999999),power(3,999999),power(5,999999),power(7,999999))", false},
        {"composition: expand of two powers", "expand(times(power(plus(x,1),400),power(plus(y,1),400)))", false},
        {"composition: second diff of a sin chain of 500", "diff(" + nested("sin", 500, "x") + ",x,2)", false},
        {"composition: third diff of a sin chain of 100", "diff(" + nested("sin", 100, "x") + ",x,3)", false},
        {"composition: 10th diff of a sin chain of 20", "diff(" + nested("sin", 20, "x") + ",x,10)", false},
        {"composition: 20th diff of a sin chain of 10", "diff(" + nested("sin", 10, "x") + ",x,20)", false},
        {"composition: factor of a dense quartic sum", "factor(plus(expand(power(plus(x,y,z,w),7)),1))", false},
        {"composition: factor of x^40-y^40", "factor(minus(power(x,40),power(y,40)))", false},
        {"composition: series of a 5th diff", "series(diff(" + nested("sin", 30, "x") + ",x,5),x,0,20)", false},
        {"composition: simplify of 300 fractions", "simplify(" + fractions(300) + ")", false},
        {"composition: expand in 20 symbols", "expand(power(plus(a,b,c,d,f,g,h,k,m,n,p,q,r,s,t,u,v,w,x,y),6))", false},
        {"composition: sum of 60 powers of 10^999999", repeated("plus", "power(10,999999)", 60), false},
        {"composition: expand a power of 10^4", "expand(power(plus(times(2,x),3),power(10,4)))", false},
        {"composition: power of a sum of numbers", "power(plus(power(10,999),1),2000)", false},
        {"composition: factor of a product expanded", "factor(expand(times(power(plus(x,y,1),15),power(minus(x,z),15))))", false},
        {"composition: factor of a dense cubic sum", "factor(plus(expand(power(plus(x,y,z),18)),1))", false},
        {"composition: simplify a power of fractions", "simplify(power(plus(divide(1,x),divide(1,y),divide(1,z)),60))", false},
        {"composition: imag_part of 22 nested tan", "imag_part(conjugate(" + nested("tan", 22, "-3") + "))", false},
        {"composition: four abs over exp of a tower", "abs(abs(abs(abs(exp(power(x,power(x,sqrt(sqrt(sqrt(power(x,x)))))))))))",
         false},
        {"composition: simplify of real_part of a tower of 10",
         "simplify(real_part(power(x,power(x,power(x,power(x,power(x,power(x,power(x,power(x,power(x,power(x,x)))))))))))",
         false},
    };
    std::vector<Case> all = cases;
    all.insert(all.end(), compositions.begin(), compositions.end());
    for (const Case& c : all) {
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
