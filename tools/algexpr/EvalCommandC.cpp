// SPDX-License-Identifier: MIT
#include "EvalCommandC.h"

#include "AppendUtf8.h"
#include "algexpr/AlgebraicExpressionC.h"
#include "oss/PointerTC.h"

namespace qorv::math::algexpr::cli {

EvalCommandC::EvalCommandC(ExpressionWriterABC& writer, bool numeric_flag, bool need_number)
    : writer(writer), numeric_flag(numeric_flag), need_number(need_number) {}

bool EvalCommandC::handle(AlgebraicExpressionC& expression, const InputPlaceC&, std::string& out,
                          std::string& problem) {
    std::u16string reason;
    qorv::oss::PointerTC<AlgebraicExpressionC> result = expression.execute(numeric_flag, &reason);
    if (!result || result->getNode() == nullptr || (need_number && !reason.empty())) {
        problem = need_number ? "not a number: " : "cannot evaluate: ";
        appendUtf8(reason, problem);
        return false;
    }
    noteUnchecked(reason);
    return writeLine(writer, *result->getNode(), out, problem);
}

}  // namespace qorv::math::algexpr::cli
