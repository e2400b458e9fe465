// SPDX-License-Identifier: MIT
// Reading any text, and what a tree read must then satisfy: reading is
// deterministic; a clone is an equal tree of new nodes and prints the same;
// the printed text reads again safely, and for a tree in the canonical form
// it reads back to an equal tree that prints the same text.
#include <cstddef>
#include <cstdint>
#include <string>

#include "FuzzEnvironmentC.h"
#include "TreeCheckerC.h"
#include "algexpr/algexpr.h"

using algexpr_fuzz::FuzzEnvironmentC;
using algexpr_fuzz::TreeCheckerC;
using qorv::math::algexpr::AlgebraicExpressionC;
using qorv::math::algexpr::CASSessionBC;
using qorv::oss::PointerTC;

namespace {

std::u16string print(const AlgebraicExpressionC& expression) {
    return expression.toPrefixString(0, qorv::math::Standard);
}

void checkRead(const std::u16string& text) {
    const auto check = FuzzEnvironmentC::check;
    PointerTC<AlgebraicExpressionC> expression = AlgebraicExpressionC::fromPrefixString(text);
    PointerTC<AlgebraicExpressionC> twice = AlgebraicExpressionC::fromPrefixString(text);
    check(static_cast<bool>(expression) == static_cast<bool>(twice), "a second reading differs in success");
    if (!expression) {
        return;
    }
    check(TreeCheckerC::sameTree(expression->getNode(), twice->getNode(), true), "a second reading differs");
    const std::u16string printed = print(*expression);

    PointerTC<AlgebraicExpressionC> copy = expression->clone();
    check(static_cast<bool>(copy), "clone failed");
    check(TreeCheckerC::sameTree(expression->getNode(), copy->getNode(), true), "the clone differs");
    check(print(*copy) == printed, "the clone prints differently");

    const bool canonical = TreeCheckerC::isCanonical(expression->getNode(), *CASSessionBC::getSession());
    PointerTC<AlgebraicExpressionC> again = AlgebraicExpressionC::fromPrefixString(printed);
    if (canonical) {
        check(static_cast<bool>(again), "the printed text of a canonical tree does not read");
        check(TreeCheckerC::sameTree(expression->getNode(), again->getNode(), true),
              "the printed text of a canonical tree reads as another tree");
        check(print(*again) == printed, "printing is not a fixed point on a canonical tree");
    } else if (again) {
        print(*again);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::u16string text;
    FuzzEnvironmentC::begin(data, size, text);
    checkRead(text);
    FuzzEnvironmentC::end();
    return 0;
}
